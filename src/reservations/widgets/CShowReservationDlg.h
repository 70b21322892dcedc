#pragma once
// "Reservation Detail for %s": the widgets of CShowReservation. Only the note and the attendee
// check box can be changed.

#include "reservations/CShowReservation.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QLineEdit;

namespace orv {

class CShowReservationDlg : public CModelDialog {
    Q_OBJECT
public:
    CShowReservationDlg(CShowReservation& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QLineEdit* noteField() const { return m_note; }
    QCheckBox* attendeesBox() const { return m_attendees; }

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CShowReservation& m_show;
    QLineEdit* m_note = nullptr;
    QCheckBox* m_attendees = nullptr;
};

} // namespace orv

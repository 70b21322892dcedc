#pragma once
// "Reservation Detail for %s": the widgets of CShowReservation. The note and the attendee check
// box are changed here; a member of a series lists its series, and "Change..." opens the change
// of the reservation or its series.

#include "reservations/CShowReservation.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orv {

class CShowReservationDlg : public CModelDialog {
    Q_OBJECT
public:
    CShowReservationDlg(CShowReservation& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QLineEdit* noteField() const { return m_note; }
    QCheckBox* attendeesBox() const { return m_attendees; }
    // The series of a member: its rule, members and skipped dates; and the two series buttons.
    QListWidget* seriesList() const { return m_series; }
    QPushButton* bookFreeButton() const { return m_bookFree; }
    QPushButton* changeButton() const { return m_change; }

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CShowReservation& m_show;
    QLineEdit* m_note = nullptr;
    QCheckBox* m_attendees = nullptr;
    QListWidget* m_series = nullptr;
    QPushButton* m_bookFree = nullptr;
    QPushButton* m_change = nullptr;
    void showSeries();
};

} // namespace orv

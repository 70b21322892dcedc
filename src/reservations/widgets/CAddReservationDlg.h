#pragma once
// "Make Reservation": the widgets of CAddReservation. The time pickers show "hh:mm AP" in an
// English locale; a change of the start moves the end along as the model says.

#include "reservations/CAddReservation.h"
#include "ui/CModelDialog.h"

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QTimeEdit;

namespace orv {

class CAddReservationDlg : public CModelDialog {
    Q_OBJECT
public:
    CAddReservationDlg(CAddReservation& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QDateEdit* datePicker() const { return m_date; }
    QTimeEdit* startPicker() const { return m_start; }
    QTimeEdit* endPicker() const { return m_end; }
    QListWidget* personList() const { return m_people; }
    QDateEdit* lastDatePicker() const { return m_lastDate; }

    QLabel* customSummary() const { return m_customSummary; }
    // The button id of "Custom...", beside the recurrence codes of the classic choices.
    static constexpr int kCustomChoice = 100;

    static void registerDialogs();

protected:
    void takeValues() override;
    void refreshValues() override;

private:
    void showPeople();
    // "Custom...": the pattern dialog; Cancel before any pattern keeps the earlier choice.
    void chooseCustom();

    CAddReservation& m_add;
    QDateEdit* m_date = nullptr;
    QTimeEdit* m_start = nullptr;
    QTimeEdit* m_end = nullptr;
    QLineEdit* m_note = nullptr;
    QCheckBox* m_showNote = nullptr;
    QListWidget* m_people = nullptr;
    QButtonGroup* m_recurrence = nullptr;
    QDateEdit* m_lastDate = nullptr;
    QCheckBox* m_attendees = nullptr;
    QLabel* m_customSummary = nullptr;
    bool m_updating = false;
};

} // namespace orv

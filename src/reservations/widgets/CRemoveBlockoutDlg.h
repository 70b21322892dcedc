#pragma once
// "Remove Blocked Out Time Slots for a Specific Date": the widgets of CRemoveBlockoutModel. Both
// remove buttons leave it open; it closes with Cancel.

#include "reservations/CRemoveBlockoutModel.h"
#include "ui/CModelDialog.h"

class QDateEdit;
class QListWidget;
class QPushButton;

namespace orv {

class CRemoveBlockoutDlg : public CModelDialog {
    Q_OBJECT
public:
    CRemoveBlockoutDlg(CRemoveBlockoutModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    static void registerDialogs();

    QDateEdit* datePicker() const { return m_date; }
    QListWidget* list() const { return m_list; }
    QPushButton* removeAllButton() const { return m_removeAll; }
    QPushButton* removeSelectedButton() const { return m_removeSelected; }

private:
    // The model's lines into the list; with `loaded` the enabled state of "Remove Selected" too.
    void showLines(bool loaded);
    void takeSelection();

    CRemoveBlockoutModel& m_removal;
    QDateEdit* m_date = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_removeAll = nullptr;
    QPushButton* m_removeSelected = nullptr;
};

} // namespace orv

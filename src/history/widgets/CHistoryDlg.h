#pragma once
// "History": the widgets of CHistoryModel. Every filter applies as it is changed; "Restore"
// writes again what the selected line's change cancelled; "Print" prints the lines shown.

#include "history/CHistoryModel.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orv {

class CHistoryDlg : public CModelDialog {
    Q_OBJECT
public:
    CHistoryDlg(CHistoryModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    static void registerDialogs();

    QListWidget* list() const { return m_list; }
    QComboBox* itemChoice() const { return m_item; }
    QComboBox* personChoice() const { return m_person; }
    QComboBox* kindChoice() const { return m_kind; }
    QLineEdit* userText() const { return m_user; }
    QCheckBox* fromCheck() const { return m_fromOn; }
    QDateEdit* fromDate() const { return m_from; }
    QCheckBox* toCheck() const { return m_toOn; }
    QDateEdit* toDate() const { return m_to; }
    QPushButton* restoreButton() const { return m_restore; }

private:
    void filterChanged();
    void showLines();

    CHistoryModel& m_history;
    QCheckBox* m_fromOn = nullptr;
    QDateEdit* m_from = nullptr;
    QCheckBox* m_toOn = nullptr;
    QDateEdit* m_to = nullptr;
    QComboBox* m_item = nullptr;
    QComboBox* m_person = nullptr;
    QLineEdit* m_user = nullptr;
    QComboBox* m_kind = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_restore = nullptr;
};

} // namespace orv

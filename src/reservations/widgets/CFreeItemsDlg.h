#pragma once
// "Find Free Item": the search values, the list of free items and the button that reserves one.

#include "reservations/CFreeItems.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QDateEdit;
class QListWidget;
class QTimeEdit;

namespace orv {

class CFreeItemsDlg : public CModelDialog {
    Q_OBJECT
public:
    CFreeItemsDlg(CFreeItems& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    void search();
    void reserve();

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    void showLines();

    CFreeItems& m_free;
    QDateEdit* m_date = nullptr;
    QTimeEdit* m_start = nullptr;
    QTimeEdit* m_end = nullptr;
    QCheckBox* m_weekly = nullptr;
    QDateEdit* m_until = nullptr;
    QListWidget* m_list = nullptr;
};

} // namespace orv

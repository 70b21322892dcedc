#pragma once
// "Month at a Glance" over CMonthGlance: a month picker, the owner-drawn list of the month's
// days, and OK, Print and Help. A click on a day opens that day's whole-day overview.

#include "displays/CMonthGlance.h"
#include "ui/CModelDialog.h"

class QDateEdit;

namespace orv {

class CDAGListBox;

class CMonthResDlg : public CModelDialog {
    Q_OBJECT
public:
    CMonthResDlg(CMonthGlance& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    CDAGListBox* list() const { return m_list; }
    QDateEdit* monthPicker() const { return m_month; }

    void refill();
    void lineClicked(int row);

    static void registerDialogs();

private:
    CMonthGlance& m_glance;
    QDateEdit* m_month = nullptr;
    CDAGListBox* m_list = nullptr;
};

} // namespace orv

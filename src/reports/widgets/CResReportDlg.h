#pragma once
// "Reservation Report Options" over CResReportOptions: the two dates, the items and the people
// to limit the report to, and the blockouts-only box.

#include "reports/CResReportOptions.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QDateEdit;
class QListWidget;

namespace orv {

class CResReportDlg : public CModelDialog {
    Q_OBJECT
public:
    CResReportDlg(CResReportOptions& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QDateEdit* startPicker() const { return m_start; }
    QDateEdit* endPicker() const { return m_end; }
    QListWidget* itemList() const { return m_items; }
    QListWidget* peopleList() const { return m_people; }
    QCheckBox* blockoutsBox() const { return m_blockouts; }

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CResReportOptions& m_options;
    QDateEdit* m_start = nullptr;
    QDateEdit* m_end = nullptr;
    QListWidget* m_items = nullptr;
    QListWidget* m_people = nullptr;
    QCheckBox* m_blockouts = nullptr;
};

} // namespace orv

#pragma once
// "Reservation Report" over CResReportData: the group description, the report lines in
// 8-point "Courier New", OK and Print. The report is built once the dialog is showing, with
// "**** Generating reservation report ****" in the list meanwhile.

#include "reports/CResReportData.h"
#include "reports/CTextLines.h"
#include "ui/CModelDialog.h"

class QListView;

namespace orv {

class CTextLinesModel;

class CResReportDataDlg : public CModelDialog {
    Q_OBJECT
public:
    CResReportDataDlg(CResReportData& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    // Its rows are the report's lines, made into text as they are shown.
    QListView* list() const { return m_list; }
    // Builds the report and shows its lines; runs once, soon after the dialog is shown.
    void generate();

    static void registerDialogs();

protected:
    void showEvent(QShowEvent* event) override;

private:
    CResReportData& m_report;
    QListView* m_list = nullptr;
    CTextLinesModel* m_rows = nullptr;
    CTextLines m_generating;
    bool m_generated = false;
};

} // namespace orv

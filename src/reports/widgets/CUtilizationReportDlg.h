#pragma once
// "Utilization Report": the group description, the report lines in 8-point "Courier New", OK and
// Print (double spaced, over as many pages as needed).

#include "reports/CUtilizationReport.h"
#include "ui/CModelDialog.h"

class QListWidget;

namespace orv {

class CUtilizationReportDlg : public CModelDialog {
    Q_OBJECT
public:
    CUtilizationReportDlg(CUtilizationReport& model, CUserPrompt& prompt,
                          QWidget* parent = nullptr);

    static void registerDialogs();

    QListWidget* list() const { return m_list; }

private:
    QListWidget* m_list = nullptr;
};

} // namespace orv

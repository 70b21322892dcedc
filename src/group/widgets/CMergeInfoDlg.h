#pragma once
// "Merge Another Group Into %s": the warning and the three conditions of a merge, with
// "Select Group" (go on to the file chooser) and "Cancel".

#include "group/CMergeInfoModel.h"
#include "ui/CModelDialog.h"

class QPushButton;

namespace orv {

class CMergeInfoDlg : public CModelDialog {
    Q_OBJECT
public:
    CMergeInfoDlg(CMergeInfoModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QPushButton* selectGroupButton() const { return m_selectGroup; }

    static void registerDialogs();

private:
    QPushButton* m_selectGroup = nullptr;
};

} // namespace orv

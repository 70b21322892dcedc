#pragma once
// "Merge Warnings and Errors": the problems a merge met, one per line, with "OK" and "Print".

#include "group/CMergeWarningsModel.h"
#include "ui/CModelDialog.h"

class QListWidget;
class QPushButton;

namespace orv {

class CMergeWarningsDlg : public CModelDialog {
    Q_OBJECT
public:
    CMergeWarningsDlg(CMergeWarningsModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QPushButton* printButton() const { return m_print; }

    static void registerDialogs();

private:
    QListWidget* m_list = nullptr;
    QPushButton* m_print = nullptr;
};

} // namespace orv

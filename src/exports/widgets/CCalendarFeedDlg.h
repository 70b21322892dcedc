#pragma once
// "Calendar File": the check box "Keep a calendar file of this group" and its folder.

#include "exports/CCalendarFeedModel.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QLineEdit;

namespace orv {

class CCalendarFeedDlg : public CModelDialog {
    Q_OBJECT
public:
    CCalendarFeedDlg(CCalendarFeedModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);
    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CCalendarFeedModel& m_feed;
    QCheckBox* m_keep = nullptr;
    QCheckBox* m_floating = nullptr;
    QLineEdit* m_folder = nullptr;
};

} // namespace orv

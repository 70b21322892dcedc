#pragma once
// "Person Information" / "Attendee Information": one person, read-only.

#include "people/CPersonInfoModel.h"
#include "ui/CModelDialog.h"

namespace orv {

class CPersonInfoDlg : public CModelDialog {
    Q_OBJECT
public:
    CPersonInfoDlg(CPersonInfoModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    static void registerDialogs();
};

} // namespace orv

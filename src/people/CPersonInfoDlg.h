#pragma once
// "Person Information" / "Attendee Information": one person, read-only.

#include "app/CModelDialog.h"
#include "people/CPersonInfoModel.h"

namespace orv {

class CPersonInfoDlg : public CModelDialog {
    Q_OBJECT
public:
    CPersonInfoDlg(CPersonInfoModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);
};

} // namespace orv

#pragma once
// The Qt face of CItemDayPlaceholder: the item, the date and an OK button.

#include "app/CModelDialog.h"
#include "displays/CItemDayPlaceholder.h"

namespace orv {

class CItemDayPlaceholderDlg : public CModelDialog {
    Q_OBJECT
public:
    CItemDayPlaceholderDlg(CItemDayPlaceholder& model, CUserPrompt& prompt,
                           QWidget* parent = nullptr);

    static void registerDialogs();
};

} // namespace orv

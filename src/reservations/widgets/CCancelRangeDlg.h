#pragma once
// "Cancel Part of Series": two date pickers over CCancelRangeModel.

#include "reservations/CCancelRangeModel.h"
#include "ui/CModelDialog.h"

class QDateEdit;

namespace orv {

class CCancelRangeDlg : public CModelDialog {
    Q_OBJECT
public:
    CCancelRangeDlg(CCancelRangeModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);
    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CCancelRangeModel& m_range;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
};

} // namespace orv

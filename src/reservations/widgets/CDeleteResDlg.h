#pragma once
// "Delete Old Reservations": the date picker of CDeleteRes.

#include "reservations/CDeleteRes.h"
#include "ui/CModelDialog.h"

class QDateEdit;

namespace orv {

class CDeleteResDlg : public CModelDialog {
    Q_OBJECT
public:
    CDeleteResDlg(CDeleteRes& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    static void registerDialogs();

    QDateEdit* datePicker() const { return m_date; }

protected:
    void takeValues() override;

private:
    CDeleteRes& m_delete;
    QDateEdit* m_date = nullptr;
};

} // namespace orv

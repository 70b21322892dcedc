#pragma once
// "Select Person to Delete" / "Select Attendee to Delete" over CPersonDeleteModel.

#include "people/CPersonDeleteModel.h"
#include "ui/CModelDialog.h"

class QListWidget;

namespace orv {

class CPersonDeleteDlg : public CModelDialog {
    Q_OBJECT
public:
    CPersonDeleteDlg(CPersonDeleteModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    static void registerDialogs();
    QListWidget* list() const { return m_list; }

protected:
    void takeValues() override;

private:
    CPersonDeleteModel& m_model;
    QListWidget* m_list = nullptr;
};

} // namespace orv

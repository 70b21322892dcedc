#pragma once
// "Add Room to Group" / "Modify Room": the item dialog over CItemInfoModel. The name cannot be
// changed on an existing item; the occupancy takes digits only.

#include "group/CItemInfoModel.h"
#include "ui/CModelDialog.h"

class QLineEdit;

namespace orv {

class CItemDlg : public CModelDialog {
    Q_OBJECT
public:
    CItemDlg(CItemInfoModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QLineEdit* nameField() const { return m_name; }
    QLineEdit* occupancyField() const { return m_occupancy; }
    QLineEdit* lengthField() const { return m_length; }
    QLineEdit* descriptionField() const { return m_description; }

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CItemInfoModel& m_item;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_occupancy = nullptr;
    QLineEdit* m_length = nullptr;
    QLineEdit* m_description = nullptr;
};

} // namespace orv

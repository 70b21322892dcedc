#pragma once
// "New Group Information" and "Modify Group Information": the kind word and description of a
// group (and, for a new group, whether it uses another group's people).

#include "group/CGroupInfoModel.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QLineEdit;

namespace orv {

class CGroupInfoDlg : public CModelDialog {
    Q_OBJECT
public:
    CGroupInfoDlg(CGroupInfoModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QLineEdit* kindField() const { return m_kind; }
    QLineEdit* descriptionField() const { return m_description; }
    QCheckBox* otherPeopleBox() const { return m_otherPeople; }

    // Makes the prompt show this dialog for both models.
    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CGroupInfoModel& m_info;
    QLineEdit* m_kind = nullptr;
    QLineEdit* m_description = nullptr;
    QCheckBox* m_otherPeople = nullptr;
};

} // namespace orv

#pragma once
// "Reminders": who I am (a list of the group's people), "Remind me" and the minutes before.

#include "reminders/CReminderChoiceModel.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace orv {

class CReminderChoiceDlg : public CModelDialog {
    Q_OBJECT
public:
    CReminderChoiceDlg(CReminderChoiceModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);
    static void registerDialogs();

protected:
    void takeValues() override;

private:
    CReminderChoiceModel& m_choice;
    QComboBox* m_person = nullptr;
    QCheckBox* m_remind = nullptr;
    QSpinBox* m_minutes = nullptr;
};

} // namespace orv

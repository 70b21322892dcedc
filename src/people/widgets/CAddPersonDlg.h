#pragma once
// The person dialog over CPersonModel: "Add a New Person", "Add a New Attendee", "Modify Person"
// or "Modify Attendee".

#include "people/CPersonModel.h"
#include "ui/CModelDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orv {

class CAddPersonDlg : public CModelDialog {
    Q_OBJECT
public:
    CAddPersonDlg(CPersonModel& model, CUserPrompt& prompt, QWidget* parent = nullptr);

    QLineEdit* field(const char* label) const;
    QCheckBox* reserveBox() const { return m_reserve; }
    QCheckBox* attendeeBox() const { return m_attendee; }
    QPushButton* addAndNewButton() const { return m_addAndNew; }
    // "Add and New": the fields empty for the next person when it was added.
    void addAndNew();

    static void registerDialogs();

protected:
    void takeValues() override;

private:
    void showValues();

    CPersonModel& m_person;
    std::vector<std::pair<QLineEdit*, std::string CPersonModel::*>> m_fields;
    QCheckBox* m_reserve = nullptr;
    QCheckBox* m_attendee = nullptr;
    QPushButton* m_addAndNew = nullptr;
};

} // namespace orv

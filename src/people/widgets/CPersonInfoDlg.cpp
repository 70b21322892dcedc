#include "people/widgets/CPersonInfoDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orv {

CPersonInfoDlg::CPersonInfoDlg(CPersonInfoModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent) {
    setWindowTitle(QString::fromLatin1(model.title()));
    const CPeopleRecord& p = model.person();
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const std::pair<const char*, std::string> rows[] = {
        {"First Name", p.firstName()},
        {"Mi", p.middleInitial()},
        {"Last Name", p.lastName()},
        {"Dept/Nickname", p.department()},
        {"Phone", p.phone()},
        {"Location (Business info, etc.)", p.location()},
        {"Notes", p.notes()},
        {"Extra Information (Home address, etc.)", p.f1()},
        {"", p.f2()},
    };
    for (const auto& [label, value] : rows) {
        auto* field = new QLineEdit(CQtPrompt::toQt(value), this);
        field->setReadOnly(true);
        form->addRow(QString::fromLatin1(label), field);
    }
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kPeople), buttons);
    setMinimumWidth(420);
}

void CPersonInfoDlg::registerDialogs() {
    registerDialog<CPersonInfoModel, CPersonInfoDlg>(CPersonInfoModel::kId);
}

} // namespace orv

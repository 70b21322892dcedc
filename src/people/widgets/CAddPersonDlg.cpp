#include "people/widgets/CAddPersonDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

struct FieldSpec {
    const char* label;
    std::string CPersonModel::*value;
    int limit;
};

// The second free line has no label of its own: it stands under the first.
constexpr FieldSpec kFieldSpecs[] = {
    {"First Name", &CPersonModel::firstName, CPersonModel::kFirstNameLimit},
    {"Mi", &CPersonModel::middleInitial, CPersonModel::kMiddleInitialLimit},
    {"Last Name", &CPersonModel::lastName, CPersonModel::kLastNameLimit},
    {"Dept/Nickname", &CPersonModel::department, CPersonModel::kDepartmentLimit},
    {"Phone", &CPersonModel::phone, CPersonModel::kPhoneLimit},
    {"Location (Business info, etc.)", &CPersonModel::location, CPersonModel::kTextLimit},
    {"Notes", &CPersonModel::notes, CPersonModel::kTextLimit},
    {"Additional Information (Home address, etc.)", &CPersonModel::f1, CPersonModel::kTextLimit},
    {"", &CPersonModel::f2, CPersonModel::kTextLimit},
};

} // namespace

CAddPersonDlg::CAddPersonDlg(CPersonModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_person(model) {
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (const FieldSpec& spec : kFieldSpecs) {
        auto* edit = new QLineEdit(this);
        edit->setMaxLength(spec.limit);
        edit->setObjectName(QString::fromLatin1(spec.label));
        // The line without a label continues the one above it.
        if (!*spec.label) edit->setAccessibleName(QStringLiteral("Additional Information, line 2"));
        form->addRow(QString::fromLatin1(spec.label), edit);
        m_fields.emplace_back(edit, spec.value);
    }
    layout->addLayout(form);
    m_reserve = new QCheckBox(QStringLiteral("Can make reservations"), this);
    m_attendee = new QCheckBox(QStringLiteral("Attendee"), this);
    layout->addWidget(m_reserve);
    layout->addWidget(m_attendee);

    auto* buttons = new QDialogButtonBox(this);
    if (model.addAndNewOffered()) {
        m_addAndNew =
            buttons->addButton(QStringLiteral("Add and New"), QDialogButtonBox::ActionRole);
        connect(m_addAndNew, &QPushButton::clicked, this, &CAddPersonDlg::addAndNew);
    }
    QPushButton* confirm =
        buttons->addButton(QString::fromLatin1(model.confirmLabel()), QDialogButtonBox::AcceptRole);
    confirm->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    buttons->addButton(QDialogButtonBox::Help);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(
        QString::fromLatin1(model.attendee && !model.mayReserve ? help::kAttendees : help::kPeople),
        buttons);
    showValues();
    setMinimumWidth(460);
}

QLineEdit* CAddPersonDlg::field(const char* label) const {
    return findChild<QLineEdit*>(QString::fromLatin1(label));
}

void CAddPersonDlg::showValues() {
    for (auto& [edit, value] : m_fields)
        edit->setText(CQtPrompt::toQt(m_person.*value));
    m_reserve->setChecked(m_person.mayReserve);
    m_attendee->setChecked(m_person.attendee);
}

void CAddPersonDlg::takeValues() {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const char* label =
            kFieldSpecs[i].label[0] ? kFieldSpecs[i].label : kFieldSpecs[i - 1].label;
        m_person.*(m_fields[i].second) = storedText(m_fields[i].first->text(), label);
    }
    m_person.mayReserve = m_reserve->isChecked();
    m_person.attendee = m_attendee->isChecked();
}

void CAddPersonDlg::addAndNew() {
    if (!takeCheckedValues()) return;
    if (!m_person.addAndNew(prompt())) return;
    showValues();
    m_fields.front().first->setFocus();
}

void CAddPersonDlg::registerDialogs() {
    registerDialog<CPersonModel, CAddPersonDlg>(CPersonModel::kId);
}

} // namespace orv

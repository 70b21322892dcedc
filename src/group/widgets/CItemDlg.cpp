#include "group/widgets/CItemDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace orv {

namespace {

QLineEdit* addField(QVBoxLayout* layout, const char* label, const std::string& value, int limit,
                    QWidget* parent) {
    auto* field = new QLineEdit(CQtPrompt::toQt(value), parent);
    field->setMaxLength(limit);
    auto* caption = new QLabel(QString::fromLatin1(label), parent);
    caption->setBuddy(field);
    layout->addWidget(caption);
    layout->addWidget(field);
    return field;
}

} // namespace

CItemDlg::CItemDlg(CItemInfoModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_item(model) {
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QVBoxLayout(this);
    m_name = addField(layout, "Name", model.name, CItemInfoModel::kNameLimit, this);
    m_name->setReadOnly(!model.adding());
    m_occupancy = addField(layout, "Occupancy", model.occupancy, 32767, this);
    m_occupancy->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_occupancy));
    m_length = addField(layout, "Default Reservation Length (in minutes)", model.defaultLength,
                        CItemInfoModel::kDefaultLengthLimit, this);
    m_description = addField(layout, "Long Description and Special Equipment", model.description,
                             CItemInfoModel::kDescriptionLimit, this);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kItems), buttons);
    if (!model.adding()) m_occupancy->setFocus();
    setMinimumWidth(420);
}

void CItemDlg::takeValues() {
    if (m_item.adding()) m_item.name = storedText(m_name->text(), "Name");
    m_item.occupancy = storedText(m_occupancy->text(), "Occupancy");
    m_item.defaultLength = storedText(m_length->text(), "Default Reservation Length");
    m_item.description = storedText(m_description->text(), "Long Description");
}

void CItemDlg::registerDialogs() {
    registerDialog<CItemInfoModel, CItemDlg>(CItemInfoModel::kId);
}

} // namespace orv

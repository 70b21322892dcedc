#include "group/widgets/CGroupInfoDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

QLabel* wrapped(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

CGroupInfoDlg::CGroupInfoDlg(CGroupInfoModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_info(model) {
    auto* layout = new QVBoxLayout(this);
    m_kind = new QLineEdit(CQtPrompt::toQt(model.kindWord), this);
    m_kind->setMaxLength(CGroupInfoModel::kKindWordLimit);
    m_description = new QLineEdit(CQtPrompt::toQt(model.description), this);
    m_description->setMaxLength(CGroupInfoModel::kDescriptionLimit);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);

    if (model.creating()) {
        setWindowTitle(QStringLiteral("New Group Information"));
        layout->addWidget(
            wrapped("You are creating a new group of items. Please enter the following "
                    "information about the group.",
                    this));
        layout->addWidget(
            wrapped("What type of item is the group managing (i.e. room, car, etc.)? Use "
                    "singular case (i.e. Room not Rooms, etc.).",
                    this));
        layout->addWidget(m_kind);
        layout->addWidget(wrapped(
            "Enter a description for the group. This will appear as the group heading.", this));
        layout->addWidget(m_description);
        m_otherPeople = new QCheckBox(QStringLiteral("Use people from an existing group?"), this);
        m_otherPeople->setChecked(model.useOtherPeople);
        layout->addWidget(m_otherPeople);
        layout->addWidget(
            wrapped("Checking this gives you the opportunity to specify that people from another "
                    "group will be reserving the items in this group.",
                    this));
        layout->addWidget(
            wrapped("After OK is pressed, you will be shown a dialog where you can specify the "
                    "file name for this group.",
                    this));
        setHelpTopic(QString::fromLatin1(help::kNewGroup), buttons);
    } else {
        setWindowTitle(QStringLiteral("Modify Group Information"));
        auto* form = new QFormLayout();
        form->addRow(QStringLiteral("Type of object being managed"), m_kind);
        form->addRow(QStringLiteral("Group Description"), m_description);
        layout->addLayout(form);
        setHelpTopic(QString::fromLatin1(help::kModifyGroup), buttons);
    }
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(420);
}

void CGroupInfoDlg::takeValues() {
    m_info.kindWord = storedText(m_kind->text(), "Type of object being managed");
    m_info.description = storedText(m_description->text(), "Group Description");
    if (m_otherPeople) m_info.useOtherPeople = m_otherPeople->isChecked();
}

void CGroupInfoDlg::registerDialogs() {
    registerDialog<CGroupInfoModel, CGroupInfoDlg>(CGroupInfoModel::kNewId);
    registerDialog<CGroupInfoModel, CGroupInfoDlg>(CGroupInfoModel::kModifyId);
}

} // namespace orv

#include "app/CPeopleFileOwnerDlg.h"

#include "tables/Cp1252.h"
#include "ui/CHelpWindow.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orv {

CPeopleFileOwnerDlg::CPeopleFileOwnerDlg(const std::string& storedName, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Display Owner of People File Used by This Group"));
    auto* label = new QLabel(QStringLiteral("People File Owned by the Following Group"), this);
    m_owner = new QLineEdit(this);
    m_owner->setObjectName(QStringLiteral("owner"));
    m_owner->setReadOnly(true);
    m_owner->setMinimumWidth(320);
    m_owner->setText(storedName.empty() ? QStringLiteral("This group has its own people file")
                                        : QString::fromStdString(cp1252ToUtf8(storedName)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_owner);
    layout->addWidget(buttons);
    attachHelp(this, help::kPeopleFileOwner);
}

void showPeopleFileOwner(const std::string& storedName, QWidget* parent) {
    CPeopleFileOwnerDlg dialog(storedName, parent);
    dialog.exec();
}

} // namespace orv

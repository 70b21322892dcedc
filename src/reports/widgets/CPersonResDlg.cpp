#include "reports/widgets/CPersonResDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CPersonResDlg::CPersonResDlg(CPersonReservations& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_reservations(model) {
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QVBoxLayout(this);
    // The item stands at the tab stop after the times.
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setMinimumSize(460, 220);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Help, this);
    m_show = buttons->addButton(QStringLiteral("Show Reservation"), QDialogButtonBox::ActionRole);
    m_show->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_show, &QPushButton::clicked, this, &CPersonResDlg::showSelected);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CPersonResDlg::showSelected);
    setHelpTopic(QString::fromLatin1(help::kPersonReservations), buttons);
    showLines();
}

void CPersonResDlg::showSelected() {
    m_reservations.selected = selectedRowQt(m_list);
    m_reservations.showReservation();
    showLines();
}

void CPersonResDlg::showLines() {
    m_list->clear();
    for (const std::string& line : m_reservations.lines())
        m_list->addItem(CQtPrompt::toQt(line));
    if (m_reservations.selected >= 0) m_list->setCurrentRow(m_reservations.selected);
}

void CPersonResDlg::registerDialogs() {
    registerDialog<CPersonReservations, CPersonResDlg>(CPersonReservations::kId);
}

} // namespace orv

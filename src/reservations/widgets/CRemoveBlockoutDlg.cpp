#include "reservations/widgets/CRemoveBlockoutDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

CRemoveBlockoutDlg::CRemoveBlockoutDlg(CRemoveBlockoutModel& model, CUserPrompt& prompt,
                                       QWidget* parent)
    : CModelDialog(model, prompt, parent), m_removal(model) {
    setWindowTitle(QString::fromLatin1(CRemoveBlockoutModel::kTitle));
    auto* layout = new QVBoxLayout(this);

    m_date = datePickerQt(model.date(), "date", this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Date Blocked Out"), m_date);
    layout->addLayout(form);

    layout->addWidget(new QLabel(QStringLiteral("Select Blockouts to be Removed"), this));
    m_list = choiceListQt({}, "blockouts", this);
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setMinimumSize(360, 180);
    layout->addWidget(m_list);
    auto* explanation = new QLabel(QString::fromLatin1(CRemoveBlockoutModel::kExplanation), this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* buttons = new QDialogButtonBox(this);
    m_removeAll = buttons->addButton(QStringLiteral("Remove All"), QDialogButtonBox::ActionRole);
    m_removeSelected =
        buttons->addButton(QStringLiteral("Remove Selected"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    buttons->addButton(QDialogButtonBox::Help);
    for (QPushButton* b : {m_removeAll, m_removeSelected})
        b->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_removeAll, &QPushButton::clicked, this, [this] {
        m_removal.removeAll();
        showLines(false);
    });
    connect(m_removeSelected, &QPushButton::clicked, this, [this] {
        takeSelection();
        m_removal.removeSelected();
        showLines(false);
    });
    // Qt's picker has no separate "calendar closed"; every date picked reloads.
    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        m_removal.setDate(fromQDate(date));
        showLines(true);
    });
    setHelpTopic(QString::fromLatin1(help::kBlockouts), buttons);
    showLines(true);
}

void CRemoveBlockoutDlg::showLines(bool loaded) {
    m_list->clear();
    for (const std::string& line : m_removal.lines())
        m_list->addItem(CQtPrompt::toQt(line));
    if (loaded) m_removeSelected->setEnabled(m_removal.removeSelectedEnabled());
}

void CRemoveBlockoutDlg::takeSelection() {
    m_removal.selected = selectedRowsQt(m_list);
}

void CRemoveBlockoutDlg::registerDialogs() {
    registerDialog<CRemoveBlockoutModel, CRemoveBlockoutDlg>(CRemoveBlockoutModel::kId);
}

} // namespace orv

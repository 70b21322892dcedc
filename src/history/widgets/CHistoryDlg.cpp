#include "history/widgets/CHistoryDlg.h"

#include "tables/CClock.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtDates.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtListPrinter.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

QComboBox* choice(const std::vector<std::string>& lines, QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const std::string& line : lines)
        box->addItem(CQtPrompt::toQt(line));
    return box;
}

} // namespace

CHistoryDlg::CHistoryDlg(CHistoryModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_history(model) {
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QGridLayout;
    const std::tm now = CClock::current().localNow();
    const CDate today{now.tm_year + 1900, now.tm_mon + 1, now.tm_mday};
    auto dateFilter = [&](const char* label, QCheckBox*& on, QDateEdit*& edit, const char* name) {
        on = new QCheckBox(QString::fromLatin1(label), this);
        on->setObjectName(QString::fromLatin1(name) + QStringLiteral("On"));
        edit = datePickerQt(today, name, this);
        edit->setEnabled(false);
        connect(on, &QCheckBox::toggled, edit, &QWidget::setEnabled);
        connect(on, &QCheckBox::toggled, this, &CHistoryDlg::filterChanged);
        connect(edit, &QDateEdit::dateChanged, this, &CHistoryDlg::filterChanged);
    };
    dateFilter("&From:", m_fromOn, m_from, "from");
    dateFilter("&To:", m_toOn, m_to, "to");
    filters->addWidget(m_fromOn, 0, 0);
    filters->addWidget(m_from, 0, 1);
    filters->addWidget(m_toOn, 0, 2);
    filters->addWidget(m_to, 0, 3);

    m_item = choice(model.itemChoices(), this, "item");
    m_person = choice(model.personChoices(), this, "person");
    m_kind = choice(model.kindChoices(), this, "kind");
    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("user"));
    m_user->setPlaceholderText(QString::fromLatin1(CHistoryModel::kAll));
    auto addLabelled = [&](const char* text, QWidget* field, int row, int column) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(field);
        filters->addWidget(label, row, column);
        filters->addWidget(field, row, column + 1);
    };
    addLabelled("&Item:", m_item, 1, 0);
    addLabelled("&Person:", m_person, 1, 2);
    addLabelled("&User:", m_user, 2, 0);
    addLabelled("&Kind:", m_kind, 2, 2);
    layout->addLayout(filters);
    for (QComboBox* box : {m_item, m_person, m_kind})
        connect(box, &QComboBox::currentIndexChanged, this, &CHistoryDlg::filterChanged);
    connect(m_user, &QLineEdit::textChanged, this, &CHistoryDlg::filterChanged);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setMinimumSize(720, 300);
    layout->addWidget(m_list);
    auto* note = new QLabel(
        QStringLiteral("Only the changes made with this program are listed: other programs that "
                       "share the group's tables leave no entry."),
        this);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    m_restore = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::ActionRole);
    m_restore->setObjectName(QStringLiteral("restore"));
    m_restore->setAutoDefault(false);
    CQtListPrinter::addPrintButton(buttons, this, [this] { return m_history.printRequest(); });
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kHistory), buttons);
    connect(m_restore, &QPushButton::clicked, this, [this] {
        m_history.selected = selectedRowQt(m_list);
        m_history.restoreSelected();
        showLines();
    });
    showLines();
}

void CHistoryDlg::filterChanged() {
    m_history.from = m_fromOn->isChecked() ? fromQDate(m_from->date()) : CDate{};
    m_history.to = m_toOn->isChecked() ? fromQDate(m_to->date()) : CDate{};
    m_history.item = m_item->currentIndex();
    m_history.person = m_person->currentIndex();
    m_history.kind = m_kind->currentIndex();
    m_history.user = m_user->text().trimmed().toStdString();
    m_history.refresh();
    showLines();
}

void CHistoryDlg::showLines() {
    m_list->clear();
    for (const std::string& line : m_history.lines())
        m_list->addItem(CQtPrompt::toQt(line));
    if (m_history.selected >= 0) m_list->setCurrentRow(m_history.selected);
}

void CHistoryDlg::registerDialogs() {
    registerDialog<CHistoryModel, CHistoryDlg>(CHistoryModel::kId);
}

} // namespace orv

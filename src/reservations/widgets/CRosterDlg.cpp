#include "reservations/widgets/CRosterDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

std::vector<int> selectedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (const QListWidgetItem* item : list->selectedItems())
        rows.push_back(list->row(item));
    return rows;
}

void fill(QListWidget* list, const std::vector<CListLine>& lines) {
    list->clear();
    for (const CListLine& line : lines)
        list->addItem(CQtPrompt::toQt(line.text));
}

} // namespace

CRosterDlg::CRosterDlg(CRosterModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_roster(model) {
    setWindowTitle(QString::fromLatin1(CRosterModel::kTitle));
    auto* layout = new QVBoxLayout(this);
    auto* texts = new QFormLayout;
    auto readOnly = [this, texts](const char* label, const std::string& value) {
        auto* field = new QLineEdit(CQtPrompt::toQt(value), this);
        field->setReadOnly(true);
        texts->addRow(QString::fromLatin1(label), field);
    };
    readOnly("Reserved", model.itemName());
    readOnly("Date", model.dateText());
    readOnly("Start", model.startText());
    readOnly("End", model.endText());
    layout->addLayout(texts);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("All Attendees"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Attending This Reservation"), this), 0, 2);
    m_all = new QListWidget(this);
    m_attending = new QListWidget(this);
    for (QListWidget* list : {m_all, m_attending}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setMinimumSize(260, 220);
    }
    grid->addWidget(m_all, 1, 0);
    grid->addWidget(m_attending, 1, 2);
    auto* middle = new QVBoxLayout;
    auto* right = new QPushButton(QStringLiteral("------>"), this);
    auto* left = new QPushButton(QStringLiteral("<------"), this);
    right->setAccessibleName(QStringLiteral("Add to This Reservation"));
    left->setAccessibleName(QStringLiteral("Remove from This Reservation"));
    for (QPushButton* b : {right, left})
        b->setAutoDefault(false);
    middle->addStretch(1);
    middle->addWidget(right);
    middle->addWidget(left);
    middle->addStretch(1);
    grid->addLayout(middle, 1, 1);
    layout->addLayout(grid);

    m_includeLater =
        new QCheckBox(QStringLiteral("Include in all later recurring reservations"), this);
    m_includeLater->setChecked(model.includeLater);
    m_includeLater->setEnabled(model.includeLaterEnabled());
    layout->addWidget(m_includeLater);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(right, &QPushButton::clicked, this, &CRosterDlg::moveRight);
    connect(left, &QPushButton::clicked, this, &CRosterDlg::moveLeft);
    setHelpTopic(QString::fromLatin1(help::kSelectAttendees), buttons);
    showLists();
    // Both lists hold the same lines in turn: both as wide as the widest of them.
    m_attending->setMinimumWidth(fitListQt(m_all, 260, 220));
}

void CRosterDlg::showLists() {
    fill(m_all, m_roster.allAttendees());
    fill(m_attending, m_roster.attending());
}

void CRosterDlg::moveRight() {
    m_roster.moveRight(selectedRows(m_all));
    showLists();
}

void CRosterDlg::moveLeft() {
    m_roster.moveLeft(selectedRows(m_attending));
    showLists();
}

void CRosterDlg::takeValues() {
    m_roster.includeLater = m_includeLater->isChecked();
}

void CRosterDlg::registerDialogs() {
    registerDialog<CRosterModel, CRosterDlg>(CRosterModel::kId);
}

} // namespace orv

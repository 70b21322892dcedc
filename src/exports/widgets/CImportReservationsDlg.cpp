#include "exports/widgets/CImportReservationsDlg.h"

#include "reservations/CAddReservation.h"
#include "reservations/CReservationText.h"
#include "tables/Cp1252.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orv {

namespace {

constexpr const char* kFromFile = "(the item the file names)";
constexpr const char* kSkip = "(skip)";
constexpr const char* kNone = "(none)";

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string personText(const CPeopleKey& k) {
    std::string text = k.lastName() + ", " + k.firstName();
    if (!k.middleInitial().empty()) text += " " + k.middleInitial();
    return text;
}

// Empties the form. Its widgets go later: the combo box whose change rebuilds the form is still
// in its own signal.
void clearForm(QFormLayout* form) {
    while (form->rowCount() > 0) {
        const QFormLayout::TakeRowResult row = form->takeRow(0);
        for (QLayoutItem* item : {row.labelItem, row.fieldItem}) {
            if (!item) continue;
            if (QWidget* w = item->widget()) {
                w->hide();
                w->deleteLater();
            }
            delete item;
        }
    }
}

} // namespace

CImportReservationsDlg::CImportReservationsDlg(CReservationImport& model, CUserPrompt& prompt,
                                               QWidget* parent)
    : CModelDialog(model, prompt, parent), m_import(model) {
    setWindowTitle(QString::fromLatin1(CReservationImport::kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("File: ") + utf8(model.path()), this));

    if (!model.isCalendar()) {
        auto* box = new QGroupBox(QStringLiteral("Columns"), this);
        auto* grid = new QGridLayout(box);
        m_dateForm = new QComboBox(box);
        m_dateForm->setObjectName(QStringLiteral("dateForm"));
        for (auto form :
             {CCsvMapping::DateForm::ymd, CCsvMapping::DateForm::mdy, CCsvMapping::DateForm::dmy})
            m_dateForm->addItem(QString::fromLatin1(CCsvMapping::dateFormText(form)));
        m_dateForm->setCurrentIndex(static_cast<int>(model.csv.dateForm));
        auto* dateLabel = new QLabel(QStringLiteral("&Dates written as"), box);
        dateLabel->setBuddy(m_dateForm);
        grid->addWidget(dateLabel, 0, 0);
        grid->addWidget(m_dateForm, 0, 1);
        const std::vector<std::string> header =
            model.csvRows().empty() ? std::vector<std::string>() : model.csvRows().front().fields;
        for (int f = 0; f < CCsvMapping::kFieldCount; ++f) {
            auto* combo = new QComboBox(box);
            combo->setObjectName(QString::fromLatin1(CCsvMapping::kFieldNames[f]));
            combo->addItem(QString::fromLatin1(kNone));
            for (const std::string& h : header)
                combo->addItem(utf8(h));
            combo->setCurrentIndex(model.csv.column[f] + 1);
            auto* label = new QLabel(QString::fromLatin1(CCsvMapping::kFieldNames[f]), box);
            label->setBuddy(combo);
            grid->addWidget(label, 1 + f / 3, (f % 3) * 2);
            grid->addWidget(combo, 1 + f / 3, (f % 3) * 2 + 1);
            m_columns.push_back(combo);
            connect(combo, &QComboBox::currentIndexChanged, this, [this] { rechoose(); });
        }
        m_firstRows = new QListWidget(box);
        m_firstRows->setObjectName(QStringLiteral("firstRows"));
        m_firstRows->setMaximumHeight(80);
        grid->addWidget(new QLabel(QStringLiteral("First rows as read:"), box), 6, 0, 1, 6);
        grid->addWidget(m_firstRows, 7, 0, 1, 6);
        layout->addWidget(box);
        connect(m_dateForm, &QComboBox::currentIndexChanged, this, [this] { rechoose(); });
    }

    auto* form = new QFormLayout;
    m_item = new QComboBox(this);
    m_item->setObjectName(QStringLiteral("item"));
    m_item->addItem(QString::fromLatin1(kFromFile));
    for (const std::string& name : model.itemNames())
        m_item->addItem(CQtPrompt::toQt(name));
    form->addRow(QStringLiteral("Put &every reservation on"), m_item);
    layout->addLayout(form);
    connect(m_item, &QComboBox::currentIndexChanged, this, [this] { rechoose(); });

    auto* unknowns = new QGridLayout;
    m_unknownItems = new QFormLayout;
    m_unknownPeople = new QFormLayout;
    unknowns->addWidget(new QLabel(QStringLiteral("Unknown items"), this), 0, 0);
    unknowns->addWidget(new QLabel(QStringLiteral("Unknown people"), this), 0, 1);
    unknowns->addLayout(m_unknownItems, 1, 0);
    unknowns->addLayout(m_unknownPeople, 1, 1);
    layout->addLayout(unknowns);

    m_preview = new QListWidget(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    auto* previewLabel =
        new QLabel(QStringLiteral("&Reservations (untick those not wanted)"), this);
    previewLabel->setBuddy(m_preview);
    layout->addWidget(previewLabel);
    layout->addWidget(m_preview, 1);
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("counts"));
    layout->addWidget(m_counts);
    connect(m_preview, &QListWidget::itemChanged, this, [this] {
        if (m_filling) return;
        takeValues();
        m_counts->setText(QStringLiteral("%1 of %2 lines will be written")
                              .arg(m_import.wanted())
                              .arg(m_import.entries().size()));
    });
    addOkCancelHelpQt(this, layout, help::kImportReservations);
    fillUnknowns();
    fillPreview();
    resize(760, 560);
}

void CImportReservationsDlg::rechoose() {
    if (m_filling) return;
    if (m_dateForm) {
        m_import.csv.dateForm = static_cast<CCsvMapping::DateForm>(m_dateForm->currentIndex());
        for (int f = 0; f < CCsvMapping::kFieldCount; ++f)
            m_import.csv.column[f] = m_columns[static_cast<std::size_t>(f)]->currentIndex() - 1;
        m_import.remap();
    }
    m_import.forcedItem =
        m_item->currentIndex() > 0
            ? cp1252ToUtf8(
                  m_import.itemNames()[static_cast<std::size_t>(m_item->currentIndex() - 1)])
            : std::string();
    for (int row = 0; row < m_unknownItems->rowCount(); ++row) {
        auto* label =
            qobject_cast<QLabel*>(m_unknownItems->itemAt(row, QFormLayout::LabelRole)->widget());
        auto* combo =
            qobject_cast<QComboBox*>(m_unknownItems->itemAt(row, QFormLayout::FieldRole)->widget());
        const std::string name = label->property("name").toString().toStdString();
        if (combo->currentIndex() > 0) m_import.itemMap[name] = combo->currentText().toStdString();
    }
    const std::vector<CPeopleKey> people = m_import.people();
    for (int row = 0; row < m_unknownPeople->rowCount(); ++row) {
        auto* label =
            qobject_cast<QLabel*>(m_unknownPeople->itemAt(row, QFormLayout::LabelRole)->widget());
        auto* combo = qobject_cast<QComboBox*>(
            m_unknownPeople->itemAt(row, QFormLayout::FieldRole)->widget());
        const std::string name = label->property("name").toString().toStdString();
        const int chosen = combo->currentIndex();
        if (chosen == 1)
            m_import.addPerson(name);
        else if (chosen > 1)
            m_import.personMap[name] = people[static_cast<std::size_t>(chosen - 2)];
    }
    m_import.preview();
    fillUnknowns();
    fillPreview();
}

void CImportReservationsDlg::fillUnknowns() {
    m_filling = true;
    clearForm(m_unknownItems);
    clearForm(m_unknownPeople);
    for (const std::string& name : m_import.unknownItems()) {
        auto* combo = new QComboBox(this);
        combo->addItem(QString::fromLatin1(kSkip));
        for (const std::string& item : m_import.itemNames())
            combo->addItem(CQtPrompt::toQt(item));
        auto* label = new QLabel(utf8(name.empty() ? std::string("(no item)") : name), this);
        label->setProperty("name", utf8(name));
        label->setBuddy(combo);
        m_unknownItems->addRow(label, combo);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { rechoose(); });
    }
    for (const std::string& name : m_import.unknownPeople()) {
        auto* combo = new QComboBox(this);
        combo->addItem(QString::fromLatin1(kSkip));
        combo->addItem(QString::fromLatin1(CAddReservation::kAddNewPerson));
        for (const CPeopleKey& key : m_import.people())
            combo->addItem(CQtPrompt::toQt(personText(key)));
        auto* label = new QLabel(utf8(name.empty() ? std::string("(no person)") : name), this);
        label->setProperty("name", utf8(name));
        label->setBuddy(combo);
        m_unknownPeople->addRow(label, combo);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { rechoose(); });
    }
    m_filling = false;
}

void CImportReservationsDlg::fillPreview() {
    m_filling = true;
    m_preview->clear();
    for (const CReservationImport::Entry& en : m_import.entries()) {
        auto* row = new QListWidgetItem(CQtPrompt::toQt(m_import.line(en)), m_preview);
        if (m_import.changes(en)) {
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(en.ticked ? Qt::Checked : Qt::Unchecked);
        } else {
            // Nothing to tick: the line says why it is not imported.
            row->setFlags(row->flags() & ~Qt::ItemIsUserCheckable);
        }
    }
    if (m_firstRows) {
        m_firstRows->clear();
        const auto& rows = m_import.csvRows();
        for (std::size_t i = 1; i < rows.size() && i <= 3; ++i) {
            const int date = m_import.csv.column[CCsvMapping::kDate];
            const std::string raw = date >= 0 && date < static_cast<int>(rows[i].fields.size())
                                        ? rows[i].fields[static_cast<std::size_t>(date)]
                                        : std::string();
            CDate read;
            const bool ok = CCsvMapping::parseDate(raw, m_import.csv.dateForm, read);
            m_firstRows->addItem(utf8(raw) + QStringLiteral("  ->  ") +
                                 (ok ? CQtPrompt::toQt(CReservationText::longDate(read))
                                     : QStringLiteral("not a date")));
        }
    }
    m_counts->setText(QStringLiteral("%1 of %2 lines will be written")
                          .arg(m_import.wanted())
                          .arg(m_import.entries().size()));
    m_filling = false;
}

void CImportReservationsDlg::takeValues() {
    auto& entries = m_import.entries();
    for (int i = 0; i < m_preview->count() && i < static_cast<int>(entries.size()); ++i) {
        const QListWidgetItem* row = m_preview->item(i);
        if (row->flags() & Qt::ItemIsUserCheckable)
            entries[static_cast<std::size_t>(i)].ticked = row->checkState() == Qt::Checked;
    }
}

void CImportReservationsDlg::registerDialogs() {
    registerDialog<CReservationImport, CImportReservationsDlg>(CReservationImport::kId);
}

} // namespace orv

#include "reservations/widgets/CAddReservationDlg.h"

#include "reservations/CCustomRepeat.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtDates.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace orv {

CAddReservationDlg::CAddReservationDlg(CAddReservation& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_add(model) {
    // The desktop program shows every series before it is written.
    model.previewFirst = true;
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);

    m_date = datePickerQt(model.date, "date", this);
    m_date->setAccessibleName(QStringLiteral("Date"));
    left->addWidget(m_date);
    auto* times = new QFormLayout;
    const QString format = QStringLiteral("hh':'mm AP");
    m_start = timePickerQt(model.startHour(), model.startMinute(), format, "start", this);
    m_end = timePickerQt(model.endHour(), model.endMinute(), format, "end", this);
    times->addRow(QStringLiteral("S&tart Time"), m_start);
    times->addRow(QStringLiteral("&End Time"), m_end);
    left->addLayout(times);
    auto* noteLabel =
        new QLabel(QStringLiteral("&Notes, Special Equipment, Class Name, etc"), this);
    left->addWidget(noteLabel);
    m_note = new QLineEdit(CQtPrompt::toQt(model.note), this);
    noteLabel->setBuddy(m_note);
    m_note->setMaxLength(80);
    left->addWidget(m_note);
    m_showNote = new QCheckBox(QStringLiteral("Show Note &in Reservation"), this);
    m_showNote->setChecked(model.showNote);
    m_showNote->setEnabled(model.showNoteEnabled());
    left->addWidget(m_showNote);
    auto* peopleLabel = new QLabel(QStringLiteral("&Reserved For"), this);
    left->addWidget(peopleLabel);
    m_people = new QListWidget(this);
    peopleLabel->setBuddy(m_people);
    m_people->setMinimumSize(300, 180);
    left->addWidget(m_people);

    auto* recurring = new QGroupBox(QStringLiteral("Recurring Reservation"), this);
    auto* recurringLayout = new QVBoxLayout(recurring);
    m_recurrence = new QButtonGroup(this);
    const std::pair<const char*, int> choices[] = {
        {"N&o", CAddReservation::kNone},
        {"Every &day through:", CAddReservation::kDaily},
        {"Every wee&kday through:", CAddReservation::kWeekdays},
        {"Every week t&hrough:", CAddReservation::kWeekly},
        {"O&vernight through:", CAddReservation::kOvernight}};
    for (const auto& [text, code] : choices) {
        auto* radio = new QRadioButton(QString::fromLatin1(text), recurring);
        radio->setChecked(code == model.recurrence());
        m_recurrence->addButton(radio, code);
        recurringLayout->addWidget(radio);
    }
    m_lastDate = datePickerQt(model.lastDate, "lastDate", recurring);
    m_lastDate->setAccessibleName(QStringLiteral("Through"));
    m_lastDate->setEnabled(model.lastDateEnabled());
    recurringLayout->addWidget(m_lastDate);
    auto* custom = new QRadioButton(QStringLiteral("C&ustom..."), recurring);
    m_recurrence->addButton(custom, kCustomChoice);
    recurringLayout->addWidget(custom);
    m_customSummary = new QLabel(recurring);
    m_customSummary->setObjectName(QStringLiteral("customSummary"));
    m_customSummary->setWordWrap(true);
    recurringLayout->addWidget(m_customSummary);
    right->addWidget(recurring);
    m_attendees = new QCheckBox(QStringLiteral("Specify &attendee list"), this);
    m_attendees->setChecked(model.attendees);
    m_attendees->setEnabled(model.attendeesEnabled());
    right->addWidget(m_attendees);
    right->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                             QDialogButtonBox::Help,
                                         Qt::Vertical, this);
    right->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_people, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_recurrence, &QButtonGroup::idClicked, this, [this](int code) {
        if (code == kCustomChoice) {
            chooseCustom();
            return;
        }
        m_add.customRule.clear();
        m_customSummary->clear();
        m_add.setRecurrence(code);
        m_lastDate->setEnabled(m_add.lastDateEnabled());
    });
    // A custom pattern counts its dates from the picked date.
    connect(m_date, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (m_add.customRule.empty()) return;
        const CCustomRepeat pattern(fromQDate(d), m_add.customRule, m_add.exceptions);
        m_customSummary->setText(CQtPrompt::toQt(pattern.summary()));
    });
    connect(m_start, &QTimeEdit::timeChanged, this, [this](const QTime& t) {
        if (m_updating) return;
        m_add.setStartTime(t.hour(), t.minute());
        m_updating = true;
        m_end->setTime(QTime(m_add.endHour(), m_add.endMinute()));
        m_updating = false;
    });
    connect(m_end, &QTimeEdit::timeChanged, this, [this](const QTime& t) {
        if (!m_updating) m_add.setEndTime(t.hour(), t.minute());
    });
    setHelpTopic(QString::fromLatin1(help::kMakeReservation), buttons);
    showPeople();
}

void CAddReservationDlg::chooseCustom() {
    CCustomRepeat custom(fromQDate(m_date->date()), m_add.customRule, m_add.exceptions);
    if (prompt().runDialog(custom)) {
        m_add.customRule = custom.rule();
        m_add.exceptions = custom.exceptions;
        m_customSummary->setText(CQtPrompt::toQt(custom.summary()));
    } else if (m_add.customRule.empty()) {
        // Cancelled before any pattern was chosen: the earlier choice stays.
        if (QAbstractButton* earlier = m_recurrence->button(m_add.recurrence()))
            earlier->setChecked(true);
        return;
    }
    m_lastDate->setEnabled(m_add.lastDateEnabled());
}

void CAddReservationDlg::showPeople() {
    m_people->clear();
    for (const CListLine& line : m_add.personLines())
        m_people->addItem(CQtPrompt::toQt(line.text));
    if (m_add.selectedPerson >= 0) m_people->setCurrentRow(m_add.selectedPerson);
    fitListQt(m_people, 300, 180);
}

void CAddReservationDlg::takeValues() {
    m_add.date = fromQDate(m_date->date());
    m_add.lastDate = fromQDate(m_lastDate->date());
    m_add.note = storedText(m_note->text(), "Notes");
    m_add.showNote = m_showNote->isChecked();
    m_add.attendees = m_attendees->isChecked();
    if (m_recurrence->checkedId() != kCustomChoice) {
        m_add.setRecurrence(m_recurrence->checkedId());
        m_add.customRule.clear();
    }
    m_add.selectedPerson = selectedRowQt(m_people);
}

void CAddReservationDlg::refreshValues() {
    // "<Add a new person>" refills the list and selects the person just added.
    showPeople();
    m_attendees->setChecked(m_add.attendees);
}

void CAddReservationDlg::registerDialogs() {
    registerDialog<CAddReservation, CAddReservationDlg>(CAddReservation::kId);
}

} // namespace orv

#include "reservations/widgets/CCustomRepeatDlg.h"

#include "reservations/CReservationText.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/HelpTopics.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace orv {

namespace {
using Frequency = CRepeatPattern::Frequency;
const int kOrdinals[] = {1, 2, 3, 4, -1};
const char* const kOrdinalNames[] = {"first", "second", "third", "fourth", "last"};
const char* const kUnits[] = {"days", "weeks", "months", "years"};
} // namespace

CCustomRepeatDlg::CCustomRepeatDlg(CCustomRepeat& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_custom(model) {
    setWindowTitle(QString::fromLatin1(CCustomRepeat::kTitle));
    const CRepeatPattern& p = model.pattern;
    auto* layout = new QVBoxLayout(this);

    auto* every = new QHBoxLayout;
    m_frequency = new QComboBox(this);
    m_frequency->setObjectName(QStringLiteral("frequency"));
    for (const char* f : {"Daily", "Weekly", "Monthly", "Yearly"})
        m_frequency->addItem(QString::fromLatin1(f));
    m_frequency->setCurrentIndex(static_cast<int>(p.frequency));
    m_interval = new QSpinBox(this);
    m_interval->setObjectName(QStringLiteral("interval"));
    m_interval->setRange(1, 99);
    m_interval->setValue(p.interval);
    m_unit = new QLabel(this);
    every->addWidget(new QLabel(QStringLiteral("Repeat"), this));
    every->addWidget(m_frequency);
    every->addWidget(new QLabel(QStringLiteral("every"), this));
    every->addWidget(m_interval);
    every->addWidget(m_unit);
    every->addStretch(1);
    layout->addLayout(every);

    m_weekly = new QWidget(this);
    auto* weekly = new QHBoxLayout(m_weekly);
    weekly->setContentsMargins(0, 0, 0, 0);
    weekly->addWidget(new QLabel(QStringLiteral("On"), m_weekly));
    for (int d : {1, 2, 3, 4, 5, 6, 0}) {
        auto* box =
            new QCheckBox(QString::fromLatin1(CReservationText::weekdayName(d)).left(3), m_weekly);
        box->setChecked(std::find(p.weekdays.begin(), p.weekdays.end(), d) != p.weekdays.end());
        weekly->addWidget(box);
        m_weekdays.resize(7);
        m_weekdays[static_cast<std::size_t>(d)] = box;
    }
    layout->addWidget(m_weekly);

    m_monthly = new QWidget(this);
    auto* monthly = new QVBoxLayout(m_monthly);
    monthly->setContentsMargins(0, 0, 0, 0);
    auto* onDay = new QHBoxLayout;
    m_onDay = new QRadioButton(QStringLiteral("On day"), m_monthly);
    m_monthDay = new QSpinBox(m_monthly);
    m_monthDay->setRange(1, 31);
    m_monthDay->setValue(p.monthDay);
    onDay->addWidget(m_onDay);
    onDay->addWidget(m_monthDay);
    onDay->addStretch(1);
    auto* onWeekday = new QHBoxLayout;
    m_onWeekday = new QRadioButton(QStringLiteral("On the"), m_monthly);
    m_ordinal = new QComboBox(m_monthly);
    for (const char* name : kOrdinalNames)
        m_ordinal->addItem(QString::fromLatin1(name));
    m_ordinal->setCurrentIndex(
        static_cast<int>(std::find(std::begin(kOrdinals), std::end(kOrdinals), p.ordinal) -
                         std::begin(kOrdinals)) %
        5);
    m_ordinalWeekday = new QComboBox(m_monthly);
    for (int d = 0; d < 7; ++d)
        m_ordinalWeekday->addItem(QString::fromLatin1(CReservationText::weekdayName(d)));
    m_ordinalWeekday->setCurrentIndex(p.ordinalWeekday);
    onWeekday->addWidget(m_onWeekday);
    onWeekday->addWidget(m_ordinal);
    onWeekday->addWidget(m_ordinalWeekday);
    onWeekday->addStretch(1);
    monthly->addLayout(onDay);
    monthly->addLayout(onWeekday);
    auto* monthlyChoice = new QButtonGroup(m_monthly);
    monthlyChoice->addButton(m_onDay);
    monthlyChoice->addButton(m_onWeekday);
    (p.monthlyByWeekday ? m_onWeekday : m_onDay)->setChecked(true);
    layout->addWidget(m_monthly);

    m_yearly = new QWidget(this);
    auto* yearly = new QHBoxLayout(m_yearly);
    yearly->setContentsMargins(0, 0, 0, 0);
    m_month = new QComboBox(m_yearly);
    for (int m = 1; m <= 12; ++m)
        m_month->addItem(QString::fromLatin1(CReservationText::monthName(m)));
    m_month->setCurrentIndex(p.month - 1);
    m_yearDay = new QSpinBox(m_yearly);
    m_yearDay->setRange(1, 31);
    m_yearDay->setValue(p.monthDay);
    yearly->addWidget(new QLabel(QStringLiteral("On"), m_yearly));
    yearly->addWidget(m_month);
    yearly->addWidget(m_yearDay);
    yearly->addStretch(1);
    layout->addWidget(m_yearly);

    auto* ends = new QGroupBox(QStringLiteral("Ends"), this);
    auto* endsLayout = new QFormLayout(ends);
    m_endsOn = new QRadioButton(QStringLiteral("On"), ends);
    m_until = datePickerQt(p.until.isSet() ? p.until : model.first().addDays(90), "until", ends);
    m_endsAfter = new QRadioButton(QStringLiteral("After (dates)"), ends);
    m_count = new QSpinBox(ends);
    m_count->setObjectName(QStringLiteral("count"));
    m_count->setRange(1, CRepeatRule::kMaxDates);
    m_count->setValue(p.count > 0 ? p.count : 10);
    endsLayout->addRow(m_endsOn, m_until);
    endsLayout->addRow(m_endsAfter, m_count);
    (p.until.isSet() ? m_endsOn : m_endsAfter)->setChecked(true);
    auto* endsChoice = new QButtonGroup(ends);
    endsChoice->addButton(m_endsOn);
    endsChoice->addButton(m_endsAfter);
    layout->addWidget(ends);

    auto* leaveOut = new QGroupBox(QStringLiteral("Leave out"), this);
    auto* leaveOutLayout = new QVBoxLayout(leaveOut);
    auto* addRow = new QHBoxLayout;
    m_leaveOutDate = datePickerQt(model.first(), "leaveOut", leaveOut);
    auto* add = new QPushButton(QStringLiteral("Leave Out"), leaveOut);
    auto* remove = new QPushButton(QStringLiteral("Remove"), leaveOut);
    addRow->addWidget(m_leaveOutDate);
    addRow->addWidget(add);
    addRow->addWidget(remove);
    leaveOutLayout->addLayout(addRow);
    m_leftOut = new QListWidget(leaveOut);
    m_leftOut->setObjectName(QStringLiteral("leftOut"));
    m_leftOut->setMaximumHeight(80);
    for (const CDate& d : model.exceptions)
        m_leftOut->addItem(QString::fromStdString(CReservationText::shortDate(d)));
    leaveOutLayout->addWidget(m_leftOut);
    layout->addWidget(leaveOut);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    addOkCancelHelpQt(this, layout, help::kMakeReservation);

    const auto update = [this] { changed(); };
    connect(m_frequency, &QComboBox::currentIndexChanged, this, update);
    connect(m_interval, &QSpinBox::valueChanged, this, update);
    for (QCheckBox* box : m_weekdays)
        connect(box, &QCheckBox::toggled, this, update);
    for (QRadioButton* r : {m_onDay, m_onWeekday, m_endsOn, m_endsAfter})
        connect(r, &QRadioButton::toggled, this, update);
    for (QSpinBox* s : {m_monthDay, m_yearDay, m_count})
        connect(s, &QSpinBox::valueChanged, this, update);
    for (QComboBox* c : {m_ordinal, m_ordinalWeekday, m_month})
        connect(c, &QComboBox::currentIndexChanged, this, update);
    connect(m_until, &QDateEdit::dateChanged, this, update);
    connect(add, &QPushButton::clicked, this, [this] {
        const CDate d = fromQDate(m_leaveOutDate->date());
        if (std::find(m_custom.exceptions.begin(), m_custom.exceptions.end(), d) !=
            m_custom.exceptions.end())
            return;
        m_custom.exceptions.push_back(d);
        m_leftOut->addItem(QString::fromStdString(CReservationText::shortDate(d)));
        changed();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = m_leftOut->currentRow();
        if (row < 0 || row >= static_cast<int>(m_custom.exceptions.size())) return;
        m_custom.exceptions.erase(m_custom.exceptions.begin() + row);
        delete m_leftOut->takeItem(row);
        changed();
    });
    m_ready = true;
    changed();
}

void CCustomRepeatDlg::takeValues() {
    CRepeatPattern& p = m_custom.pattern;
    p.frequency = static_cast<Frequency>(m_frequency->currentIndex());
    p.interval = m_interval->value();
    p.weekdays.clear();
    for (int d = 0; d < 7; ++d)
        if (m_weekdays[static_cast<std::size_t>(d)]->isChecked()) p.weekdays.push_back(d);
    p.monthlyByWeekday = m_onWeekday->isChecked();
    p.ordinal = kOrdinals[std::max(0, m_ordinal->currentIndex())];
    p.ordinalWeekday = m_ordinalWeekday->currentIndex();
    p.month = m_month->currentIndex() + 1;
    p.monthDay = p.frequency == Frequency::yearly ? m_yearDay->value() : m_monthDay->value();
    p.until = m_endsOn->isChecked() ? fromQDate(m_until->date()) : CDate();
    p.count = m_endsAfter->isChecked() ? m_count->value() : 0;
}

void CCustomRepeatDlg::changed() {
    if (!m_ready) return;
    const int f = m_frequency->currentIndex();
    m_unit->setText(QString::fromLatin1(kUnits[std::clamp(f, 0, 3)]));
    m_weekly->setVisible(f == static_cast<int>(Frequency::weekly));
    m_monthly->setVisible(f == static_cast<int>(Frequency::monthly));
    m_yearly->setVisible(f == static_cast<int>(Frequency::yearly));
    m_until->setEnabled(m_endsOn->isChecked());
    m_count->setEnabled(m_endsAfter->isChecked());
    takeValues();
    m_summary->setText(CQtPrompt::toQt(m_custom.summary()));
}

void CCustomRepeatDlg::registerDialogs() {
    registerDialog<CCustomRepeat, CCustomRepeatDlg>(CCustomRepeat::kId);
}

} // namespace orv

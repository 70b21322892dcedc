#include "app/CDayGlancePage.h"

#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orv {

CDayGlancePage::CDayGlancePage(QWidget* parent)
    : CPreferencePage(QStringLiteral("Day at a Glance"), help::kPrefDayAtAGlance, parent) {
    auto* text = new QLabel(
        QStringLiteral("The Day at a Glance dialog can show reservations for all day or a 12 "
                       "hour period. To show only 12 hours, uncheck the box and specify a "
                       "starting hour from 0 (midnight) to 12 (noon). For example, entering 8 "
                       "will show reservations from 8:00 A.M. to 8:00 P.M."),
        this);
    text->setWordWrap(true);
    m_fullDay = new QCheckBox(QStringLiteral("Show Reservations for All 24 Hours"), this);
    m_label = new QLabel(QStringLiteral("Starting Hour"), this);
    m_hour = new QLineEdit(this);
    m_hour->setObjectName(QStringLiteral("startHour"));
    m_hour->setMaximumWidth(60);
    m_label->setBuddy(m_hour);
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAutoRepeat(true);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAutoRepeat(true);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFixedSize(18, 12);
        b->setFocusPolicy(Qt::NoFocus);
    }

    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);
    auto* row = new QHBoxLayout;
    row->addWidget(m_label);
    row->addWidget(m_hour);
    row->setSpacing(4);
    row->addLayout(arrows);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_fullDay);
    layout->addLayout(row);
    layout->addStretch(1);

    m_hour->installEventFilter(this);
    connect(m_hour, &QLineEdit::textEdited, this, &CPreferencePage::changed);
    connect(m_up, &QToolButton::clicked, this, [this] { step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(-1); });
    connect(m_fullDay, &QCheckBox::clicked, this, [this] {
        updateEnabled();
        emit changed();
    });
}

bool CDayGlancePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_hour && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return CPreferencePage::eventFilter(watched, event);
}

void CDayGlancePage::step(int delta) {
    const int current = parseInteger(m_hour->text()).value_or(kMinHour);
    const int next = std::clamp(current + delta, kMinHour, kMaxHour);
    m_hour->setText(QString::number(next));
    emit changed();
}

void CDayGlancePage::updateEnabled() {
    const bool enabled = !m_fullDay->isChecked();
    m_label->setEnabled(enabled);
    m_hour->setEnabled(enabled);
    m_up->setEnabled(enabled);
    m_down->setEnabled(enabled);
}

void CDayGlancePage::load(const CPreferenceValues& values) {
    m_fullDay->setChecked(values.useFullDay != 0);
    m_hour->setText(QString::number(values.startHour));
    updateEnabled();
}

std::optional<CPreferencePage::Problem> CDayGlancePage::check() const {
    const std::optional<int> hour = parseInteger(m_hour->text());
    if (!hour) return Problem{"Enter an integer.", m_hour};
    if (*hour < kMinHour || *hour > kMaxHour)
        return Problem{"Enter an integer between " + std::to_string(kMinHour) + " and " +
                           std::to_string(kMaxHour) + ".",
                       m_hour};
    return std::nullopt;
}

void CDayGlancePage::save(CPreferenceValues& values) const {
    values.useFullDay = m_fullDay->isChecked() ? 1 : 0;
    values.startHour = parseInteger(m_hour->text()).value_or(values.startHour);
}

} // namespace orv

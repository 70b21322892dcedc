#include "app/CDeleteOldRes.h"

#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace orv {

CDeleteOldRes::CDeleteOldRes(QWidget* parent)
    : CPreferencePage(QStringLiteral("Delete Reservations"), help::kPrefDeleteReservations,
                      parent) {
    m_label =
        new QLabel(QStringLiteral("Enter the number of days to keep old reservations:"), this);
    m_days = new QLineEdit(this);
    m_days->setObjectName(QStringLiteral("keepDays"));
    m_days->setMaximumWidth(80);
    // A number of days: digits only, no sign.
    m_days->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_days));
    m_label->setBuddy(m_days);
    m_keepAll = new QCheckBox(QStringLiteral("Do not automatically delete old reservations"), this);

    auto* row = new QHBoxLayout;
    row->addWidget(m_label);
    row->addWidget(m_days);
    row->addStretch(1);
    // How long Compress keeps the group's history of changes.
    auto* historyLabel =
        new QLabel(QStringLiteral("Keep the &history of changes for this many days (0: always):"), this);
    m_history = new QLineEdit(this);
    m_history->setObjectName(QStringLiteral("historyDays"));
    m_history->setMaximumWidth(80);
    m_history->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_history));
    historyLabel->setBuddy(m_history);
    auto* historyRow = new QHBoxLayout;
    historyRow->addWidget(historyLabel);
    historyRow->addWidget(m_history);
    historyRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_keepAll);
    layout->addLayout(historyRow);
    layout->addStretch(1);

    connect(m_days, &QLineEdit::textEdited, this, &CPreferencePage::changed);
    connect(m_history, &QLineEdit::textEdited, this, &CPreferencePage::changed);
    connect(m_keepAll, &QCheckBox::clicked, this, [this] {
        updateEnabled();
        emit changed();
    });
}

void CDeleteOldRes::updateEnabled() {
    const bool enabled = !m_keepAll->isChecked();
    m_label->setEnabled(enabled);
    m_days->setEnabled(enabled);
}

void CDeleteOldRes::load(const CPreferenceValues& values) {
    m_days->setText(QString::number(values.keepDays));
    m_keepAll->setChecked(values.noAutoDelete);
    m_history->setText(QString::number(values.historyDays));
    updateEnabled();
}

std::optional<CPreferencePage::Problem> CDeleteOldRes::check() const {
    if (!parseInteger(m_days->text())) return Problem{"Enter an integer.", m_days};
    if (!parseInteger(m_history->text())) return Problem{"Enter an integer.", m_history};
    return std::nullopt;
}

void CDeleteOldRes::save(CPreferenceValues& values) const {
    values.keepDays = parseInteger(m_days->text()).value_or(values.keepDays);
    values.noAutoDelete = m_keepAll->isChecked();
    values.historyDays = parseInteger(m_history->text()).value_or(values.historyDays);
}

} // namespace orv

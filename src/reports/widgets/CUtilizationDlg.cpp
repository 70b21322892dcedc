#include "reports/widgets/CUtilizationDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orv {

CUtilizationDlg::CUtilizationDlg(CUtilizationOptions& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_options(model) {
    setWindowTitle(QString::fromLatin1(CUtilizationOptions::kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromLatin1(CUtilizationOptions::kIntro), this));

    m_start = datePickerQt(model.startDate, "start", this);
    m_end = datePickerQt(model.endDate, "end", this);
    auto* dates = new QFormLayout;
    dates->addRow(QStringLiteral("Starting Date"), m_start);
    dates->addRow(QStringLiteral("Ending Date"), m_end);
    layout->addLayout(dates);

    layout->addWidget(new QLabel(CQtPrompt::toQt(model.itemsLabel()), this));
    m_items = choiceListQt(model.itemNames(), "items", this);
    layout->addWidget(m_items);

    m_window = new QCheckBox(QString::fromLatin1(CUtilizationOptions::kWindowBox), this);
    m_window->setObjectName(QStringLiteral("window"));
    m_window->setChecked(model.window);
    layout->addWidget(m_window);
    const QString wholeHours = QStringLiteral("hh AP");
    m_startHour = timePickerQt(model.startPickerHour, 0, wholeHours, "startHour", this);
    m_endHour = timePickerQt(model.endPickerHour, 0, wholeHours, "endHour", this);
    m_startHourLabel = new QLabel(QStringLiteral("Starting Hour"), this);
    m_endHourLabel = new QLabel(QStringLiteral("Ending Hour"), this);
    auto* hours = new QFormLayout;
    hours->addRow(m_startHourLabel, m_startHour);
    hours->addRow(m_endHourLabel, m_endHour);
    layout->addLayout(hours);
    connect(m_window, &QCheckBox::toggled, this, &CUtilizationDlg::updateEnabled);
    updateEnabled();

    addOkCancelHelpQt(this, layout, help::kUtilization);
    setMinimumWidth(400);
}

void CUtilizationDlg::updateEnabled() {
    const bool on = m_window->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_startHour, m_endHour, m_startHourLabel, m_endHourLabel})
        w->setEnabled(on);
}

void CUtilizationDlg::takeValues() {
    m_options.startDate = fromQDate(m_start->date());
    m_options.endDate = fromQDate(m_end->date());
    m_options.selectedItems = selectedRowsQt(m_items);
    m_options.window = m_window->isChecked();
    m_options.startPickerHour = m_startHour->time().hour();
    m_options.endPickerHour = m_endHour->time().hour();
}

void CUtilizationDlg::registerDialogs() {
    registerDialog<CUtilizationOptions, CUtilizationDlg>(CUtilizationOptions::kId);
}

} // namespace orv

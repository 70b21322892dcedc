#include "reservations/widgets/CBlockoutDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDialogParts.h"
#include "ui/HelpTopics.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orv {

CBlockoutDlg::CBlockoutDlg(CBlockoutModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_blockout(model) {
    setWindowTitle(QString::fromLatin1(CBlockoutModel::kTitle));
    auto* layout = new QVBoxLayout(this);

    m_date = datePickerQt(model.date, "date", this);
    const QString format = QStringLiteral("hh':'mm AP");
    m_start = timePickerQt(model.startHour, model.startMinute, format, "start", this);
    m_end = timePickerQt(model.endHour, model.endMinute, format, "end", this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Blockout Date"), m_date);
    form->addRow(QStringLiteral("Start Time"), m_start);
    form->addRow(QStringLiteral("End Time"), m_end);
    layout->addLayout(form);

    layout->addWidget(new QLabel(QStringLiteral("Blockout Only Selected Item(s)"), this));
    m_items = choiceListQt(model.itemNames(), "items", this);
    layout->addWidget(m_items);
    auto* explanation = new QLabel(QString::fromLatin1(CBlockoutModel::kExplanation), this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    addOkCancelHelpQt(this, layout, help::kBlockouts);
    setMinimumWidth(380);
}

void CBlockoutDlg::takeValues() {
    m_blockout.date = fromQDate(m_date->date());
    m_blockout.startHour = m_start->time().hour();
    m_blockout.startMinute = m_start->time().minute();
    m_blockout.endHour = m_end->time().hour();
    m_blockout.endMinute = m_end->time().minute();
    m_blockout.selected = selectedRowsQt(m_items);
}

void CBlockoutDlg::registerDialogs() {
    registerDialog<CBlockoutModel, CBlockoutDlg>(CBlockoutModel::kId);
}

} // namespace orv

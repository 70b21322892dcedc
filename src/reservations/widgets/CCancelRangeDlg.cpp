#include "reservations/widgets/CCancelRangeDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtDates.h"
#include "ui/HelpTopics.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace orv {

CCancelRangeDlg::CCancelRangeDlg(CCancelRangeModel& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_range(model) {
    setWindowTitle(QString::fromLatin1(CCancelRangeModel::kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Cancel the members of the series dated:"), this));
    auto* form = new QFormLayout;
    m_from = datePickerQt(model.from, "from", this);
    m_to = datePickerQt(model.to, "to", this);
    form->addRow(QStringLiteral("From"), m_from);
    form->addRow(QStringLiteral("To"), m_to);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kItemDay), buttons);
}

void CCancelRangeDlg::takeValues() {
    m_range.from = fromQDate(m_from->date());
    m_range.to = fromQDate(m_to->date());
}

void CCancelRangeDlg::registerDialogs() {
    registerDialog<CCancelRangeModel, CCancelRangeDlg>(CCancelRangeModel::kId);
}

} // namespace orv

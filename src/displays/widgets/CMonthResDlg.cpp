#include "displays/widgets/CMonthResDlg.h"

#include "displays/CQuarterHourLine.h"
#include "displays/widgets/CDAGListBox.h"
#include "displays/widgets/CDayGlanceG.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtDates.h"
#include "ui/CQtListPrinter.h"
#include "ui/ColorRef.h"
#include "ui/HelpTopics.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include <algorithm>

namespace orv {

CMonthResDlg::CMonthResDlg(CMonthGlance& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_glance(model) {
    setWindowTitle(QString::fromLatin1(CMonthGlance::kTitle));
    auto* layout = new QVBoxLayout(this);

    m_month =
        datePickerQt({model.year(), model.month(), 1}, "month", this, QStringLiteral("MMMM, yyyy"));
    m_month->setCalendarPopup(false);
    m_month->setAccessibleName(QStringLiteral("Month"));
    m_month->setCurrentSection(QDateTimeEdit::MonthSection);
    layout->addWidget(m_month, 0, Qt::AlignLeft);

    m_list = new CDAGListBox(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setAccessibleName(windowTitle());
    m_list->setFont(CDayGlanceG::listFont());
    m_list->setNameWidth(CMonthGlance::kNameWidth);
    m_list->setStarColour(colorFromStored(model.occupiedColour()));
    m_list->setPartialColour(colorFromStored(model.partialColour()));
    layout->addWidget(m_list, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Help, this);
    CQtListPrinter::addPrintButton(buttons, this, [this] { return m_glance.printRequest(); });
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    setHelpTopic(QString::fromLatin1(help::kMonthAtAGlance), buttons);

    connect(m_month, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (date.month() == m_glance.month() && date.year() == m_glance.year()) return;
        m_glance.setMonth(date.month(), date.year());
        refill();
    });
    connect(m_list, &CDAGListBox::lineChosen, this, &CMonthResDlg::lineClicked);

    refill();
    const QSize list = m_list->sizeFor(CMonthGlance::kNameWidth + CQuarterHourLine::kGap +
                                           CQuarterHourLine::kLength, m_list->count());
    m_list->setMinimumWidth(list.width());
    resize(sizeHint().width(), std::min(sizeHint().height() + list.height(), 760));
}

void CMonthResDlg::refill() {
    m_list->setLines(m_glance.lines(), m_glance.blockoutMarks());
}

void CMonthResDlg::lineClicked(int row) {
    if (m_glance.openLine(row)) refill();
}

void CMonthResDlg::registerDialogs() {
    registerDialog<CMonthGlance, CMonthResDlg>(CMonthGlance::kId);
}

} // namespace orv

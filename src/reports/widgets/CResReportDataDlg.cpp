#include "reports/widgets/CResReportDataDlg.h"

#include "group/CWaitCursor.h"
#include "ui/CDialogRegistry.h"
#include "ui/CQtListPrinter.h"
#include "ui/CQtPrompt.h"
#include "ui/CTextLinesModel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListView>
#include <QTimer>
#include <QVBoxLayout>

namespace orv {

CResReportDataDlg::CResReportDataDlg(CResReportData& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent), m_report(model) {
    setWindowTitle(QString::fromLatin1(CResReportData::kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(CQtPrompt::toQt(model.description()), this));
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("list"));
    const QFont font = CQtListPrinter::fixedFont(QStringLiteral("Courier New"), 8);
    m_list->setFont(font);
    // A month of a large group is a hundred thousand lines.
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_generating.push_back(CResReportData::kGenerating);
    m_rows = new CTextLinesModel(m_list);
    m_rows->show(m_generating);
    m_list->setModel(m_rows);
    layout->addWidget(m_list, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    CQtListPrinter::addPrintButton(buttons, this, [this] { return m_report.printRequest(); });
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    resize(QFontMetrics(font).averageCharWidth() * 96, 520);
}

void CResReportDataDlg::showEvent(QShowEvent* event) {
    CModelDialog::showEvent(event);
    // Let the generating line be seen before the walk.
    if (!m_generated) QTimer::singleShot(0, this, &CResReportDataDlg::generate);
}

void CResReportDataDlg::generate() {
    if (m_generated) return;
    m_generated = true;
    {
        CWaitCursor busy(prompt());
        m_report.build();
    }
    m_rows->show(m_report.lines());
}

void CResReportDataDlg::registerDialogs() {
    registerDialog<CResReportData, CResReportDataDlg>(CResReportData::kId);
}

} // namespace orv

#include "reports/widgets/CUtilizationReportDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtListPrinter.h"
#include "ui/CQtPrompt.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orv {

CUtilizationReportDlg::CUtilizationReportDlg(CUtilizationReport& model, CUserPrompt& prompt,
                                             QWidget* parent)
    : CModelDialog(model, prompt, parent) {
    setWindowTitle(QString::fromLatin1(CUtilizationReport::kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(CQtPrompt::toQt(model.description()), this));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    const QFont font = CQtListPrinter::fixedFont(QStringLiteral("Courier New"), 8);
    m_list->setFont(font);
    for (const std::string& line : model.lines())
        m_list->addItem(CQtPrompt::toQt(line));
    layout->addWidget(m_list, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    CQtListPrinter::addPrintButton(buttons, this, [&model] { return model.printRequest(); });
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    resize(QFontMetrics(font).averageCharWidth() * 100, 420);
}

void CUtilizationReportDlg::registerDialogs() {
    registerDialog<CUtilizationReport, CUtilizationReportDlg>(CUtilizationReport::kId);
}

} // namespace orv

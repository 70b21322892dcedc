#include "reports/widgets/CAttendanceDlg.h"

#include "ui/CDialogRegistry.h"
#include "ui/CQtListPrinter.h"
#include "ui/CQtPrompt.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QListWidget>
#include <QVBoxLayout>

namespace orv {

CAttendanceDlg::CAttendanceDlg(CAttendance& model, CUserPrompt& prompt, QWidget* parent)
    : CModelDialog(model, prompt, parent) {
    setWindowTitle(CQtPrompt::toQt(model.title()));
    auto* layout = new QVBoxLayout(this);
    // The item stands at the tab stop after the times.
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_list->setMinimumSize(460, 220);
    for (const std::string& line : model.lines())
        m_list->addItem(CQtPrompt::toQt(line));
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    CQtListPrinter::addPrintButton(buttons, this, [&model] { return model.printRequest(); });
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setHelpTopic(QString::fromLatin1(help::kAttendance), buttons);
}

void CAttendanceDlg::registerDialogs() {
    registerDialog<CAttendance, CAttendanceDlg>(CAttendance::kId);
}

} // namespace orv

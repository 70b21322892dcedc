#include "ui/CQtListPrinter.h"

#include "reports/CPrintPaging.h"
#include "ui/CQtPrompt.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <memory>

namespace orv {

namespace {

std::function<QPrinter&()>& printerSource() {
    static std::function<QPrinter&()> source;
    return source;
}

} // namespace

QPrinter& CQtListPrinter::programPrinter() {
    if (printerSource()) return printerSource()();
    static std::unique_ptr<QPrinter> own = std::make_unique<QPrinter>();
    return *own;
}

void CQtListPrinter::setProgramPrinter(std::function<QPrinter&()> source) {
    printerSource() = std::move(source);
}

void CQtListPrinter::printList(const CPrintRequest& request, QWidget* parent) {
    QPrinter& printer = programPrinter();
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    if (dialog.exec() != QDialog::Accepted) return;
    printTo(printer, request);
}

QFont CQtListPrinter::fixedFont(const QString& face, int pointSize) {
    QFont font(face, pointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QPushButton* CQtListPrinter::addPrintButton(QDialogButtonBox* buttons, QWidget* dialog,
                                            std::function<CPrintRequest()> request) {
    QPushButton* print = buttons->addButton(QStringLiteral("&Print"), QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("print"));
    QObject::connect(print, &QPushButton::clicked, dialog,
                     [dialog, request = std::move(request)] { printList(request(), dialog); });
    return print;
}

bool CQtListPrinter::printTo(QPrinter& printer, const CPrintRequest& request) {
    printer.setDocName(CQtPrompt::toQt(request.jobName));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    if (!request.fontFace.empty())
        painter.setFont(
            fixedFont(QString::fromLatin1(request.fontFace.c_str()), request.pointSize));
    const QFontMetrics fm = painter.fontMetrics();
    const int lineHeight = fm.height() + fm.leading();
    const int left = fm.averageCharWidth();
    // The painter's device is the printable area of the page.
    const auto pages = CPrintPaging::layout(request, lineHeight, painter.device()->height());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) printer.newPage();
        for (const CPrintedLine& line : pages[p])
            painter.drawText(left, line.y + fm.ascent(), CQtPrompt::toQt(line.text));
    }
    return painter.end();
}

} // namespace orv

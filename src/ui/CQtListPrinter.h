#pragma once
// Prints a list (CPrintRequest) on a printer: the platform's printer dialog, then every page as
// CPrintPaging lays it out, in the request's font.

#include "reports/CPrintRequest.h"

#include <QFont>

#include <functional>

class QDialogButtonBox;
class QPrinter;
class QPushButton;
class QWidget;

namespace orv {

class CQtListPrinter {
public:
    // Asks for a printer (no page range, no selection; a PDF file is one of the choices) and
    // prints on it; nothing when the user cancels. Uses the program's printer when there is one.
    static void printList(const CPrintRequest& request, QWidget* parent);
    // Prints on a printer already chosen. False when the printer cannot be drawn on.
    static bool printTo(QPrinter& printer, const CPrintRequest& request);
    // The face at that size; where the face is missing, another fixed-pitch face keeps the
    // columns of the lists.
    static QFont fixedFont(const QString& face, int pointSize);
    // A dialog's "Print" button: prints the request of the moment.
    static QPushButton* addPrintButton(QDialogButtonBox* buttons, QWidget* dialog,
                                       std::function<CPrintRequest()> request);

    // The printer that Print Setup configures, so that its choices carry to every print. The
    // desktop program names where it comes from; without one (tests, tools) a printer of its own.
    static QPrinter& programPrinter();
    static void setProgramPrinter(std::function<QPrinter&()> source);
};

} // namespace orv

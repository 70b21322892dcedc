// Printing a list: the pages and the height of every printed line, read back from a PDF with
// pdftotext's word boxes.
#include "common/GroupFixture.h"
#include "reports/CPrintRequest.h"
#include "reports/CUtilizationReport.h"
#include "ui/CQtListPrinter.h"

#include <QFontMetrics>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>

namespace orv::test {
namespace {

struct Word {
    int page = 0;
    double yMin = 0;
    double yMax = 0;
    QString text;
};

struct PrintedPdf {
    double pageHeight = 0; // points
    int pages = 0;
    std::vector<Word> words;
    std::string title;

    // The top of the first word of that text, or NAN.
    double top(const QString& text, int* page = nullptr) const {
        for (const Word& w : words)
            if (w.text == text) {
                if (page) *page = w.page;
                return w.yMin;
            }
        return NAN;
    }
    std::vector<Word> onPage(int page) const {
        std::vector<Word> found;
        for (const Word& w : words)
            if (w.page == page) found.push_back(w);
        return found;
    }
};

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class ListPrintTest : public GroupFixture {
protected:
    static constexpr double kTopMm = 20;
    static constexpr double kBottomMm = 60; // far more than four lines

    void setUpPrinter(QPrinter& printer, const QString& file) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageMargins(QMarginsF(15, kTopMm, 15, kBottomMm), QPageLayout::Millimeter);
    }

    // Prints the request as the dialogs do after the printer dialog, and reads it back.
    PrintedPdf print(const CPrintRequest& request) {
        const QString file = out.filePath(QStringLiteral("list.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        setUpPrinter(printer, file);
        EXPECT_TRUE(CQtListPrinter::printTo(printer, request));
        PrintedPdf pdf;
        const QString boxes =
            run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
        static const QRegularExpression page(
            QStringLiteral("<page width=\"[0-9.]+\" height=\"([0-9.]+)\""));
        static const QRegularExpression word(
            QStringLiteral("<word xMin=\"[0-9.]+\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                           "yMax=\"([0-9.]+)\">([^<]*)</word>"));
        for (const QString& line : boxes.split(QLatin1Char('\n'))) {
            if (auto m = page.match(line); m.hasMatch()) {
                ++pdf.pages;
                pdf.pageHeight = m.captured(1).toDouble();
            } else if (auto w = word.match(line); w.hasMatch()) {
                pdf.words.push_back(
                    {pdf.pages, w.captured(1).toDouble(), w.captured(2).toDouble(), w.captured(3)});
            }
        }
        const QString info = run(QStringLiteral("pdfinfo"), {file});
        static const QRegularExpression title(QStringLiteral("Title:\\s*(.*)"));
        pdf.title = title.match(info).captured(1).trimmed().toStdString();
        return pdf;
    }

    // Line height and printable height in printer units, as the print measures them.
    struct Measures {
        int line = 0;
        int height = 0;
    };
    Measures measure(const CPrintRequest& request) {
        QPrinter printer(QPrinter::HighResolution);
        setUpPrinter(printer, out.filePath(QStringLiteral("measure.pdf")));
        QFont font;
        if (!request.fontFace.empty())
            font = CQtListPrinter::fixedFont(QString::fromStdString(request.fontFace),
                                             request.pointSize);
        const QFontMetrics fm(font, &printer);
        return {fm.height() + fm.leading(), printer.height()};
    }

    static std::vector<std::string> numbered(int count) {
        std::vector<std::string> lines;
        for (int i = 1; i <= count; ++i) {
            char text[16];
            std::snprintf(text, sizeof text, "Line%04d", i);
            lines.push_back(text);
        }
        return lines;
    }
    static QString lineName(int i) {
        return QStringLiteral("Line%1").arg(i, 4, 10, QLatin1Char('0'));
    }

    QTemporaryDir out;
};

TEST_F(ListPrintTest,
       AReportThatExactlyReachesTheLimitGoesOnAtTheContinuationHeightWithoutHeading) {
    const CPrintRequest shape = CPrintRequest::reservationReport("Main Building", {});
    const Measures m = measure(shape);
    // Lines at 6L, 7L, ... while below the limit H - 4L.
    int fit = 0;
    while ((6 + fit) * m.line < m.height - 4 * m.line)
        ++fit;
    // Exactly a page full leaves no empty page behind.
    EXPECT_EQ(print(CPrintRequest::reservationReport("Main Building", numbered(fit))).pages, 1);
    const PrintedPdf pdf =
        print(CPrintRequest::reservationReport("Main Building", numbered(fit + 1)));

    ASSERT_EQ(pdf.pages, 2);
    EXPECT_EQ(pdf.title, "Reservation Report");
    int page = 0;
    const double heading = pdf.top(QStringLiteral("Reservation"), &page);
    EXPECT_EQ(page, 1);
    const double lineHeight = pdf.top(lineName(2)) - pdf.top(lineName(1));
    EXPECT_NEAR(pdf.top(lineName(1)) - heading, 4 * lineHeight, 0.5) << "heading 2L, lines from 6L";
    pdf.top(lineName(fit), &page);
    EXPECT_EQ(page, 1);
    const std::vector<Word> second = pdf.onPage(2);
    ASSERT_EQ(second.size(), 1u) << "no heading on the second page";
    EXPECT_EQ(second[0].text, lineName(fit + 1));
    EXPECT_NEAR(second[0].yMin, heading, 0.5) << "continued at 2L";
    // Every line within the printable area of its page.
    const double printableBottom = pdf.pageHeight - kBottomMm * 72 / 25.4;
    for (const Word& w : pdf.words)
        EXPECT_LE(w.yMax, printableBottom + 0.5) << w.text.toStdString();
}

TEST_F(ListPrintTest, TheAttendanceListRepeatsItsTitleOnEveryPage) {
    const std::string title = "Reservations Attended by Ann B Jones";
    const Measures m = measure(CPrintRequest::attendance(title, {}));
    // Lines at 4L, 5L, ... up to and including the limit H - 3L.
    int fit = 0;
    while ((4 + fit) * m.line <= m.height - 3 * m.line)
        ++fit;
    const PrintedPdf pdf = print(CPrintRequest::attendance(title, numbered(2 * fit + 3)));

    ASSERT_EQ(pdf.pages, 3);
    const double firstTitle = pdf.onPage(1).at(0).yMin;
    for (int p = 1; p <= 3; ++p) {
        const std::vector<Word> words = pdf.onPage(p);
        ASSERT_GE(words.size(), 8u);
        EXPECT_EQ(words[0].text, QStringLiteral("Reservations")) << p;
        EXPECT_NEAR(words[0].yMin, firstTitle, 0.5) << p;
        // Six words of title, then the page's first line.
        EXPECT_EQ(words[6].text, lineName((p - 1) * fit + 1)) << p;
        EXPECT_NEAR(words[6].yMin - words[0].yMin, 2 * (words[7].yMin - words[6].yMin), 0.5)
            << "title at 2L, lines from 4L: " << p;
    }
    int page = 0;
    pdf.top(lineName(fit), &page);
    EXPECT_EQ(page, 1);
    pdf.top(lineName(2 * fit + 3), &page);
    EXPECT_EQ(page, 3);
}

TEST_F(ListPrintTest, OnePageListsLeaveOutWhatFallsBelowThePageAndEmptyListsKeepTheirHeadings) {
    const Measures m = measure(CPrintRequest::monthGlance("December, 2026", {}));
    int fit = 0;
    while ((7 + fit + 1) * m.line <= m.height)
        ++fit;
    const PrintedPdf month = print(CPrintRequest::monthGlance("December, 2026", numbered(200)));
    EXPECT_EQ(month.pages, 1);
    EXPECT_EQ(month.title, "MonthGlance");
    EXPECT_FALSE(std::isnan(month.top(lineName(fit))));
    EXPECT_TRUE(std::isnan(month.top(lineName(fit + 1))));

    const PrintedPdf empty = print(CPrintRequest::reservationReport("Main Building", {}));
    EXPECT_EQ(empty.pages, 1);
    QStringList texts;
    for (const Word& w : empty.words)
        texts << w.text;
    EXPECT_EQ(texts.join(QLatin1Char(' ')), QStringLiteral("Reservation Report for Main Building"));
}

TEST_F(ListPrintTest, TheUtilizationReportIsDoubleSpacedUnderItsHeading) {
    addItems({"Lab", "Studio"});
    reserve({"Lab", 12, 7, 2026, 9, 0, 15, 0});
    CUtilizationCriteria criteria;
    criteria.startDate = {2026, 12, 7};
    criteria.endDate = {2026, 12, 13};
    CUtilizationReport utilization(*doc, criteria);
    ASSERT_EQ(utilization.compute(), 0);
    const PrintedPdf report = print(utilization.printRequest());
    EXPECT_EQ(report.title, "Utilization");
    EXPECT_EQ(report.pages, 1);
    const double heading = report.top(QStringLiteral("Report")); // "Utilization Report for ..."
    const double range = report.top(QStringLiteral("from"));
    const double lab = report.top(QStringLiteral("Lab"));
    const double studio = report.top(QStringLiteral("Studio"));
    const double step = studio - lab;
    EXPECT_GT(step, 0);
    // Heading at 4L and lines from 8L two line heights apart: 4L between heading and first line
    // is two steps only when each step is 2L.
    EXPECT_NEAR(range - heading, step * 2, 0.5);
    EXPECT_NEAR(report.top(QStringLiteral("Name")) - range, step * 2, 0.5)
        << "the blank line between";
    EXPECT_NEAR(lab - report.top(QStringLiteral("Name")), step, 0.5);
}

} // namespace
} // namespace orv::test

// What the main view draws, checked on the real widget with a real group: the layout from the
// font's metrics, the colours of free, used and highlighted boxes, scrolling, and the printout.
#include "ViewTestSupport.h"

#include "ui/ColorRef.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace orv::test {
namespace {

class ViewDrawTest : public ViewFixture {};

class ViewLayoutOnScreen : public ViewFixture, public ::testing::WithParamInterface<int> {};

TEST_P(ViewLayoutOnScreen, HitRectanglesTitleAndExtentFollowTheFontMetrics) {
    const int n = GetParam();
    addNumberedItems(n);
    CORVSchedView& v = showView();
    picture();

    const QFontMetrics fm(v.viewport()->font());
    const int lh = fm.height() + fm.leading();
    const int aw = fm.averageCharWidth();
    const int boxW = 22 * aw, boxH = 4 * lh, left = 3 * aw, colGap = 5 * aw, top = 3 * lh;
    const int rowGap = lh + lh / 2;
    ASSERT_EQ(doc->items().count(), n);
    for (int i = 0; i < n; ++i) {
        const int x = left + (i % 3) * (boxW + colGap);
        const int y = top + (i / 3) * (boxH + rowGap);
        EXPECT_EQ(doc->items().rectAt(i), (CRect{x, y, x + boxW, y + boxH})) << "item " << i;
    }

    const QString title = QStringLiteral("%1 Room%2 - Main Building  (click item for reservations)")
                              .arg(n)
                              .arg(n == 1 ? "" : "s");
    const int w = fm.horizontalAdvance(title);
    int titleX = left;
    if (n == 2) titleX = 8 * aw + boxW - w / 2;
    if (n >= 3) titleX = boxW / 2 + boxW + 8 * aw - w / 2;
    EXPECT_EQ(v.titlePosition(), QPoint(std::max(titleX, aw), lh));

    EXPECT_EQ(v.extent().width, 3 * boxW + 2 * colGap + left);
    EXPECT_EQ(v.extent().height, (n / 3 + 1) * boxH + (n / 3) * rowGap + top);
}

INSTANTIATE_TEST_SUITE_P(ItemCounts, ViewLayoutOnScreen, ::testing::Values(0, 1, 2, 3, 4, 7));

TEST_F(ViewDrawTest, ExtentIsOneHundredSquareBeforeTheFirstDrawing) {
    addNumberedItems(4);
    doc = openDoc();
    CORVSchedView v(doc);
    EXPECT_EQ(v.extent(), (CViewExtent{100, 100}));
}

TEST_F(ViewDrawTest, TitleIsDrawnInBlue) {
    addNumberedItems(1);
    showView();
    const QImage image = picture();
    const QFontMetrics fm(view->viewport()->font());
    const QPoint at = view->titlePosition();
    int blue = 0;
    for (int y = at.y(); y < at.y() + fm.height(); ++y)
        for (int x = at.x(); x < at.x() + 200; ++x)
            if (image.pixelColor(x, y) == QColor(0, 0, 255)) ++blue;
    EXPECT_GT(blue, 10);
}

TEST_F(ViewDrawTest, BoxesInUseAreFilledWithTheOccupiedColourAndTheOthersWithTheFreeOne) {
    addNumberedItems(3);
    reserve("Room 2", 8, 9, 30, 10, 30, "Ames"); // the clock stands at 10:00:30
    reserve("Room 3", 8, 11, 0, 12, 0, "Later");
    showView();
    EXPECT_TRUE(doc->items().at(1).inUse());
    EXPECT_EQ(fillOf(0), kFree);
    EXPECT_EQ(fillOf(1), kRed);
    EXPECT_EQ(fillOf(2), kFree);
    // A free box: the outline, then a white gap of one pixel before the fill. A box in use has a
    // bold border of three pixels instead, so that its state shows without its colour.
    const QImage image = picture();
    const CRect free = doc->items().rectAt(0);
    EXPECT_EQ(image.pixelColor(free.left, free.top), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(free.left + 1, free.top + 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(free.left + 2, free.top + 2), kFree);
    const CRect used = doc->items().rectAt(1);
    for (int d = 0; d < 3; ++d)
        EXPECT_EQ(image.pixelColor(used.left + d, used.top + d), QColor(Qt::black)) << d;
    EXPECT_EQ(image.pixelColor(used.left + 3, used.top + 3), kRed);
}

TEST_F(ViewDrawTest, StoredColoursAreUsedAndMinusOneMeansTheDefault) {
    settings.writeInt("Colors", "Occupied", -1);
    settings.writeInt("Colors", "Unoccupied", 0xFF0000); // stored blue
    addNumberedItems(2);
    reserve("Room 1", 8, 10, 0, 10, 30, "Ames");
    showView();
    EXPECT_EQ(fillOf(0), kRed);
    EXPECT_EQ(fillOf(1), QColor(0, 0, 255));
}

TEST_F(ViewDrawTest, BoxLinesAreNameOccupancyWhenGivenAndCurrentUseWhenInUse) {
    addItems({{"Busy", "2"}, {"Bare", ""}});
    reserve("Busy", 8, 10, 0, 10, 30, "Ames");
    showView();
    const QImage image = picture();
    const QFontMetrics fm(view->viewport()->font());
    const int lh = fm.height() + fm.leading();
    // Dark pixels of text line `line` of box `item`.
    auto darkIn = [&](int item, int line) {
        const CRect box = doc->items().rectAt(item);
        int dark = 0;
        const int y0 = box.top + lh / 2 + line * lh;
        for (int y = y0; y < y0 + fm.height() && y < box.bottom - 2; ++y)
            for (int x = box.left + 3; x < box.right - 3; ++x)
                if (image.pixelColor(x, y).lightness() < 60) ++dark;
        return dark;
    };
    EXPECT_GT(darkIn(0, 0), 0) << "name";
    EXPECT_GT(darkIn(0, 1), 0) << "occupancy";
    EXPECT_GT(darkIn(0, 2), 0) << "current use";
    EXPECT_GT(darkIn(1, 0), 0) << "name";
    EXPECT_EQ(darkIn(1, 1), 0) << "no occupancy given";
    EXPECT_EQ(darkIn(1, 2), 0) << "free";
}

// The screen keeps its texts laid out between redraws: what it shows inside a window, where the
// view does not sit at the window's corner, scrolled or not, is what a fresh drawing gives.
TEST_F(ViewDrawTest, ScreenShowsWhatAFreshDrawingOfEveryTextShows) {
    addItems({{"Boardroom", "16"}, {"Lakeview", "8"}, {"Huddle <1>", ""}, {"Auditorium", "120"},
              {"Library", "30"}, {"Studio", "6"}, {"Annex", ""}});
    reserve("Lakeview", 8, 9, 0, 11, 0, "Ames");
    reserve("Studio", 8, 10, 0, 10, 30, "Chen");
    doc = openDoc();
    QWidget window;
    auto* v = new CORVSchedView(doc, &window);
    // The keyboard's frame is the screen's own; paper has none.
    v->setFocusPolicy(Qt::NoFocus);
    v->setGeometry(30, 70, 700, 260);
    window.resize(760, 360);
    window.show();
    QApplication::processEvents();
    auto compare = [&](const char* when) {
        SCOPED_TRACE(when);
        const QImage shown = window.grab().toImage().copy(
            QRect(v->viewport()->mapTo(&window, QPoint(0, 0)), v->viewport()->size()));
        QImage fresh(shown.size(), shown.format());
        fresh.fill(v->viewport()->palette().color(v->viewport()->backgroundRole()));
        QPainter painter(&fresh);
        painter.setFont(v->viewport()->font());
        painter.translate(-v->horizontalScrollBar()->value(), -v->verticalScrollBar()->value());
        v->draw(painter, false);
        painter.end();
        int differ = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                differ += shown.pixelColor(x, y) != fresh.pixelColor(x, y);
        EXPECT_EQ(differ, 0);
    };
    compare("at the top");
    v->verticalScrollBar()->setValue(v->verticalScrollBar()->maximum());
    compare("scrolled to the end");
    v->verticalScrollBar()->setValue(v->verticalScrollBar()->singleStep() * 3);
    compare("scrolled a few lines");
}

TEST_F(ViewDrawTest, ScrollingFollowsTheExtentWithLineAndPageSteps) {
    addNumberedItems(7);
    CORVSchedView& v = showView(QSize(300, 200));
    picture();
    const QFontMetrics fm(v.viewport()->font());
    const QSize page = v.viewport()->size();
    EXPECT_EQ(v.verticalScrollBar()->maximum(), v.extent().height - page.height());
    EXPECT_EQ(v.horizontalScrollBar()->maximum(), v.extent().width - page.width());
    EXPECT_EQ(v.verticalScrollBar()->pageStep(), page.height());
    EXPECT_EQ(v.horizontalScrollBar()->pageStep(), page.width());
    EXPECT_EQ(v.verticalScrollBar()->singleStep(), fm.height() + fm.leading());
}

TEST_F(ViewDrawTest, PrintingToPdfGivesOnePageWithTheTitleAndEveryItem) {
    addItems({{"Boardroom", "16"}, {"Lakeview", "8"}, {"Huddle 1", ""}, {"Auditorium", "120"}});
    showView();
    picture();
    const CRect before = doc->items().rectAt(3);

    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("view.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    view->printTo(printer);

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    // Text extraction keeps words, not the width of the gaps between them.
    const QRegularExpression title(
        QStringLiteral("4 Rooms - Main Building\\s+\\(click item for reservations\\)"));
    EXPECT_TRUE(printed.contains(title)) << printed.toStdString();
    for (const char* name : {"Boardroom", "Lakeview", "Huddle 1", "Auditorium"})
        EXPECT_TRUE(printed.contains(QLatin1String(name))) << name;
    EXPECT_TRUE(printed.contains(QStringLiteral("Occupancy 120")));
    EXPECT_EQ(printed.count(QLatin1Char('\f')), 1) << "one page";

    // The printer's coordinates never become the screen's hit rectangles.
    EXPECT_EQ(doc->items().rectAt(3), before);
}

// A name and a current use of wide letters are wider than a box: on the screen and on a page
// (printed at 300 dpi here) they end inside it.
class ViewLongTexts : public ViewFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(ViewLongTexts, NoTextLeavesItsBox) {
    const bool screen = GetParam();
    const std::string wide(20, 'W');
    addItems({{wide, "2"}, {"Next", ""}});
    reserve(wide, 8, 9, 0, 11, 0, wide);
    showView();
    ASSERT_TRUE(doc->items().at(0).inUse());
    QImage image;
    std::vector<CRect> boxes;
    if (screen) {
        image = picture();
        boxes = {doc->items().rectAt(0), doc->items().rectAt(1)};
    } else {
        image = QImage(1200, 900, QImage::Format_RGB32);
        image.setDotsPerMeterX(11811);
        image.setDotsPerMeterY(11811);
        image.fill(Qt::white);
        QPainter painter(&image);
        view->draw(painter, false);
        const QFontMetrics fm(painter.font(), &image);
        const CViewLayout layout(fm.height() + fm.leading(), fm.averageCharWidth());
        boxes = {layout.boxRect(0), layout.boxRect(1)};
    }
    auto within = [](const CRect& r, int x, int y) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    };
    const QColor background = image.pixelColor(0, boxes[0].top);
    int outside = 0;
    int text = 0;
    for (int y = boxes[0].top; y < boxes[0].bottom; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (!within(boxes[0], x, y) && !within(boxes[1], x, y))
                outside += pixel != background;
            else if (within(boxes[0], x, y) && x > boxes[0].left + 8 && x < boxes[0].right - 8 &&
                     y > boxes[0].top + 8 && y < boxes[0].bottom - 8)
                text += pixel.lightness() < 60;
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(text, 0) << "the texts are there";
}

INSTANTIATE_TEST_SUITE_P(Surfaces, ViewLongTexts, ::testing::Values(true, false),
                         [](const auto& p) { return p.param ? "Screen" : "Page"; });

TEST_F(ViewDrawTest, PrintedBoxesHaveBordersAsWideAsOnTheScreen) {
    addItems({{"Boardroom", "16"}});
    showView();
    // A 1200-dpi surface stands for the printer: one screen pixel is 12 of its dots.
    QImage page(4000, 3000, QImage::Format_RGB32);
    page.setDotsPerMeterX(47244);
    page.setDotsPerMeterY(47244);
    page.fill(Qt::white);
    QPainter painter(&page);
    view->draw(painter, false);
    const QFontMetrics fm(painter.font(), &page);
    painter.end();
    const CRect box = CViewLayout(fm.height() + fm.leading(), fm.averageCharWidth()).boxRect(0);
    const int y = box.top + (box.bottom - box.top) * 13 / 16; // below the texts
    int black = 0;
    for (int x = box.left; x < box.left + 30; ++x)
        if (page.pixelColor(x, y) == QColor(Qt::black)) ++black;
    EXPECT_GE(black, 12) << "a one-dot line vanishes on paper";
    EXPECT_EQ(page.pixelColor(box.left + 40, y), kFree);
}

} // namespace
} // namespace orv::test

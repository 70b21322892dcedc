// The state of an item shows without its colour: a box in use has a bold border on the screen
// and on paper; and its texts stay readable when the desktop's palette is dark.
#include "ViewTestSupport.h"

#include "displays/CContrast.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPalette>

namespace orv::test {
namespace {

class ViewReadableTest : public ViewFixture {};

TEST_F(ViewReadableTest, ABoxInUseHasABoldBorderOnPaperToo) {
    // The clock stands at 10:00:30.
    addNumberedItems(2);
    reserve("Room 1", 8, 9, 0, 11, 0, "Ames");
    showView();
    picture(); // the screen places the boxes
    QImage paper(view->viewport()->size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.setFont(view->font());
    view->draw(painter, false);
    painter.end();
    // The third pixel inside the box's edge: black on the box in use, not on the free one.
    auto edge = [&](int item) {
        const CRect box = doc->items().rectAt(item);
        return paper.pixelColor(box.left + 2, (box.top + box.bottom) / 2);
    };
    EXPECT_EQ(edge(0), QColor(Qt::black));
    EXPECT_NE(edge(1), QColor(Qt::black));
}

TEST_F(ViewReadableTest, TextOnTheBoxesStaysReadableWithADarkPalette) {
    addNumberedItems(2);
    reserve("Room 1", 8, 9, 0, 11, 0, "Ames");
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base})
        dark.setColor(role, QColor(40, 40, 40));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        dark.setColor(role, QColor(231, 231, 231));
    QApplication::setPalette(dark);
    showView();
    const QImage image = picture();
    QApplication::setPalette(before);
    QDir().mkpath(QStringLiteral(ORV_BINARY_DIR "/artifacts"));
    image.save(QStringLiteral(ORV_BINARY_DIR "/artifacts/main-view-dark.png"));
    for (int item = 0; item < 2; ++item) {
        const CRect box = doc->items().rectAt(item);
        const QColor fill = image.pixelColor(fillPoint(box));
        // The name's pixels farthest from the fill: anti-aliased edges are mixed with it, the
        // strokes themselves are the text colour.
        double strongest = 1;
        const int top = box.top + view->fontMetrics().height() / 2;
        for (int y = top; y < top + view->fontMetrics().height(); ++y)
            for (int x = box.left + 4; x < box.right - 4; ++x) {
                const QColor c = image.pixelColor(x, y);
                strongest =
                    std::max(strongest, CContrast::ratio({c.red(), c.green(), c.blue()},
                                                         {fill.red(), fill.green(), fill.blue()}));
            }
        EXPECT_GE(strongest, CContrast::kMinimumTextRatio) << "box " << item;
    }
}

} // namespace
} // namespace orv::test

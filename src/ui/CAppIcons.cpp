#include "ui/CAppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace orv {
namespace {

// Draws on a 32 x 32 grid and renders the sizes a toolbar and a title bar ask for.
QIcon drawn(const std::function<void(QPainter&)>& paint) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void plus(QPainter& p, QPointF centre) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 150, 0));
    p.drawEllipse(centre, 7, 7);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(centre.x() - 4.5, centre.y() - 1.25, 9, 2.5));
    p.drawRect(QRectF(centre.x() - 1.25, centre.y() - 4.5, 2.5, 9));
}

void calendar(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(r.left() + 0.75, r.top() + 0.75, r.width() - 1.5, r.height() * 0.22));
}

void page(QPainter& p, const QRectF& r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 7, r.top());
    path.lineTo(r.right(), r.top() + 7);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 7, r.top()), QPointF(r.right() - 7, r.top() + 7));
    p.drawLine(QPointF(r.right() - 7, r.top() + 7), QPointF(r.right(), r.top() + 7));
}

} // namespace

QIcon CAppIcons::app() {
    return drawn([](QPainter& p) {
        calendar(p, QRectF(2, 3, 28, 26));
        const QColor colours[] = {QColor(255, 0, 0),   QColor(0, 150, 200), QColor(0, 150, 200),
                                  QColor(0, 150, 200), QColor(255, 0, 0),   QColor(0, 150, 200)};
        for (int i = 0; i < 6; ++i) {
            p.setBrush(colours[i]);
            p.drawRect(QRectF(5 + (i % 3) * 8, 12 + (i / 3) * 8, 6, 6));
        }
    });
}

QIcon CAppIcons::newGroup() {
    return drawn([](QPainter& p) {
        page(p, QRectF(5, 2, 20, 26));
        plus(p, QPointF(23, 23));
    });
}

QIcon CAppIcons::openGroup() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(120, 90, 20), 1.5));
        p.setBrush(QColor(240, 200, 90));
        QPainterPath back;
        back.moveTo(3, 8);
        back.lineTo(12, 8);
        back.lineTo(14, 11);
        back.lineTo(27, 11);
        back.lineTo(27, 26);
        back.lineTo(3, 26);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(250, 220, 120));
        QPainterPath front;
        front.moveTo(3, 26);
        front.lineTo(8, 15);
        front.lineTo(31, 15);
        front.lineTo(27, 26);
        front.closeSubpath();
        p.drawPath(front);
    });
}

QIcon CAppIcons::addPerson() {
    return drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 80, 160));
        p.drawEllipse(QPointF(13, 9), 5.5, 5.5);
        QPainterPath body;
        body.moveTo(3, 29);
        body.cubicTo(3, 14, 23, 14, 23, 29);
        body.closeSubpath();
        p.drawPath(body);
        plus(p, QPointF(24, 23));
    });
}

QIcon CAppIcons::addItem() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(0, 150, 200));
        p.drawRect(QRectF(3, 5, 20, 15));
        plus(p, QPointF(24, 23));
    });
}

QIcon CAppIcons::dayReservations() {
    return drawn([](QPainter& p) {
        calendar(p, QRectF(2, 3, 28, 26));
        p.setBrush(QColor(255, 0, 0));
        p.drawRect(QRectF(6, 13, 10, 3));
        p.drawRect(QRectF(12, 18, 14, 3));
        p.drawRect(QRectF(6, 23, 7, 3));
    });
}

QIcon CAppIcons::print() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 19, 14, 10));
        p.drawLine(QPointF(12, 23), QPointF(20, 23));
        p.drawLine(QPointF(12, 26), QPointF(20, 26));
    });
}

QIcon CAppIcons::about() {
    return drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 200));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
        p.drawRect(QRectF(14, 14, 4, 11));
    });
}

QIcon CAppIcons::contextHelp() {
    return drawn([](QPainter& p) {
        QPainterPath arrow;
        arrow.moveTo(3, 3);
        arrow.lineTo(3, 22);
        arrow.lineTo(8, 17);
        arrow.lineTo(12, 25);
        arrow.lineTo(15, 23.5);
        arrow.lineTo(11, 16);
        arrow.lineTo(17, 16);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(16);
        p.setFont(font);
        p.setPen(QColor(30, 90, 200));
        p.drawText(QRectF(16, 8, 16, 22), Qt::AlignCenter, QStringLiteral("?"));
    });
}

} // namespace orv

#include "ui/dialogs/dialog_icons.h"

#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace korvath::ui {
namespace {

QPixmap Blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QPixmap DrawProgramIcon(int size) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // The plate.
    QLinearGradient plate(0, 0, 0, 64);
    plate.setColorAt(0, QColor(0x1f, 0x4e, 0x8c));
    plate.setColorAt(1, QColor(0x0c, 0x22, 0x44));
    p.setPen(QPen(QColor(0x08, 0x16, 0x2c), 1.5));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    // The grid of the tuning view.
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(10, 10 + i * 11), QPointF(54, 10 + i * 11));
        p.drawLine(QPointF(10 + i * 11, 10), QPointF(10 + i * 11, 54));
    }

    // Two shift curves and the points of the upper one.
    const QPointF upper[] = {{10, 48}, {21, 44}, {32, 35}, {43, 22}, {54, 14}};
    const QPointF lower[] = {{10, 54}, {21, 51}, {32, 46}, {43, 38}, {54, 32}};
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x7f, 0xc8, 0xff), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(lower, 5);
    p.setPen(QPen(QColor(0xff, 0x9a, 0x1f), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(upper, 5);
    p.setPen(QPen(QColor(0x5a, 0x2a, 0x00), 1));
    p.setBrush(QColor(0xff, 0xe0, 0x80));
    for (const QPointF& point : upper) p.drawEllipse(point, 3.2, 3.2);
    return pixmap;
}

QPixmap DrawOpenFilePicture(int size) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    const QPen outline(QColor(0x6b, 0x4a, 0x10), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // The back of the folder with its tab.
    QPainterPath back;
    back.moveTo(2, 8);
    back.lineTo(11, 8);
    back.lineTo(13, 10);
    back.lineTo(26, 10);
    back.lineTo(26, 27);
    back.lineTo(2, 27);
    back.closeSubpath();
    p.setPen(outline);
    p.setBrush(QColor(0xe0, 0xb0, 0x40));
    p.drawPath(back);

    // A calibration sheet sticking out.
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 4, 15, 16));
    p.setPen(QPen(QColor(0xd0, 0x60, 0x10), 1.4));
    p.drawPolyline(QPolygonF({{9, 17}, {13, 14}, {17, 10}, {20, 8}}));

    // The open front flap.
    QPainterPath front;
    front.moveTo(5, 14);
    front.lineTo(30, 14);
    front.lineTo(26, 27);
    front.lineTo(2, 27);
    front.closeSubpath();
    p.setPen(outline);
    p.setBrush(QColor(0xf6, 0xd2, 0x6a));
    p.drawPath(front);
    return pixmap;
}

QPixmap DrawNewFilePicture(int size) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // A blank page with a folded corner.
    QPainterPath page;
    page.moveTo(6, 2);
    page.lineTo(20, 2);
    page.lineTo(27, 9);
    page.lineTo(27, 30);
    page.lineTo(6, 30);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(0xdd, 0xdd, 0xdd));
    p.drawPolygon(QPolygonF({{20, 2}, {20, 9}, {27, 9}}));

    // The spark of something new.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xc0, 0x20));
    QPainterPath star;
    const QPointF c(12, 20);
    for (int i = 0; i < 8; ++i) {
        const double r = (i % 2 == 0) ? 7.0 : 2.6;
        const double a = i * 3.14159265358979 / 4.0;
        const QPointF point(c.x() + r * std::sin(a), c.y() - r * std::cos(a));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    p.drawPath(star);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(DrawProgramIcon(size));
    return icon;
}

}  // namespace korvath::ui

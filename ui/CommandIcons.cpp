#include "CommandIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <functional>

namespace wt::ui {

namespace {

// Draws on a 32 x 32 canvas and adds the picture at the sizes the toolbars and menus use.
QIcon Drawn(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen Outline(const QColor& color, qreal width = 2.0) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

const QColor kGreen(0x2e, 0x9d, 0x3a);
const QColor kRed(0xd0, 0x30, 0x2a);
const QColor kBlue(0x25, 0x6e, 0xc9);
const QColor kDark(0x33, 0x33, 0x33);
const QColor kGold(0xf0, 0xb4, 0x1c);
const QColor kFolder(0xe8, 0xb8, 0x4a);

void Star(QPainter& p, QPointF centre, qreal outer, const QColor& fill) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        qreal radius = (i % 2 == 0) ? outer : outer * 0.45;
        qreal angle = -M_PI / 2 + i * M_PI / 5;
        QPointF point(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (i == 0) path.moveTo(point); else path.lineTo(point);
    }
    path.closeSubpath();
    p.setPen(Outline(fill.darker(150), 1.5));
    p.setBrush(fill);
    p.drawPath(path);
}

void DownArrow(QPainter& p, qreal x, qreal top, qreal width, qreal height, const QColor& fill) {
    QPainterPath path;
    qreal shaft = width * 0.36;
    qreal head = height * 0.45;
    path.moveTo(x - shaft / 2, top);
    path.lineTo(x + shaft / 2, top);
    path.lineTo(x + shaft / 2, top + height - head);
    path.lineTo(x + width / 2, top + height - head);
    path.lineTo(x, top + height);
    path.lineTo(x - width / 2, top + height - head);
    path.lineTo(x - shaft / 2, top + height - head);
    path.closeSubpath();
    p.setPen(Outline(fill.darker(150), 1.5));
    p.setBrush(fill);
    p.drawPath(path);
}

void Cross(QPainter& p, QRectF box, const QColor& color, qreal width) {
    p.setPen(Outline(color, width));
    p.drawLine(box.topLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomLeft());
}

void Tray(QPainter& p) {
    p.setPen(Outline(kDark, 2.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(5, 21);
    path.lineTo(5, 28);
    path.lineTo(27, 28);
    path.lineTo(27, 21);
    p.drawPath(path);
}

void Folder(QPainter& p) {
    QPainterPath path;
    path.moveTo(3, 8);
    path.lineTo(12, 8);
    path.lineTo(15, 11);
    path.lineTo(29, 11);
    path.lineTo(29, 27);
    path.lineTo(3, 27);
    path.closeSubpath();
    p.setPen(Outline(kFolder.darker(160), 1.5));
    p.setBrush(kFolder);
    p.drawPath(path);
    p.setBrush(kFolder.lighter(120));
    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(7, 15);
    front.lineTo(31, 15);
    front.lineTo(29, 27);
    front.closeSubpath();
    p.drawPath(front);
}

}  // namespace

QIcon CommandIcon(CommandImage image) {
    switch (image) {
        case CommandImage::AddToFavorites:
            return Drawn([](QPainter& p) {
                Star(p, {14, 17}, 12, kGold);
                p.setPen(Outline(kGreen, 3.5));
                p.drawLine(QPointF(26, 3), QPointF(26, 13));
                p.drawLine(QPointF(21, 8), QPointF(31, 8));
            });
        case CommandImage::Download:
            return Drawn([](QPainter& p) {
                DownArrow(p, 16, 2, 18, 20, kGreen);
                Tray(p);
            });
        case CommandImage::Delete:
            return Drawn([](QPainter& p) { Cross(p, QRectF(7, 7, 18, 18), kRed, 5); });
        case CommandImage::DeleteAll:
            return Drawn([](QPainter& p) {
                Cross(p, QRectF(3, 3, 14, 14), kRed.lighter(130), 4);
                Cross(p, QRectF(13, 13, 16, 16), kRed, 4.5);
            });
        case CommandImage::StopPlaying:
            return Drawn([](QPainter& p) {
                p.setPen(Outline(kDark, 1.5));
                p.setBrush(kBlue);
                p.drawRoundedRect(QRectF(7, 7, 18, 18), 2, 2);
            });
        case CommandImage::Play:
            return Drawn([](QPainter& p) {
                QPainterPath path;
                path.moveTo(8, 5);
                path.lineTo(27, 16);
                path.lineTo(8, 27);
                path.closeSubpath();
                p.setPen(Outline(kGreen.darker(150), 1.5));
                p.setBrush(kGreen);
                p.drawPath(path);
            });
        case CommandImage::OpenFolder:
            return Drawn([](QPainter& p) { Folder(p); });
        case CommandImage::DownloadAll:
            return Drawn([](QPainter& p) {
                DownArrow(p, 10, 2, 14, 18, kGreen.lighter(125));
                DownArrow(p, 21, 4, 14, 18, kGreen);
                Tray(p);
            });
        case CommandImage::Restore:
            return Drawn([](QPainter& p) {
                p.setPen(Outline(kDark, 2));
                p.setBrush(Qt::white);
                p.drawRect(QRectF(10, 4, 18, 14));
                p.drawRect(QRectF(4, 12, 18, 14));
                p.setBrush(kBlue);
                p.drawRect(QRectF(4, 12, 18, 4));
            });
        case CommandImage::Exit:
            return Drawn([](QPainter& p) {
                p.setPen(Outline(kRed, 3.5));
                p.setBrush(Qt::NoBrush);
                p.drawArc(QRectF(5, 6, 22, 22), 120 * 16, 300 * 16);
                p.drawLine(QPointF(16, 3), QPointF(16, 15));
            });
    }
    return {};
}

QIcon GenreIcon() {
    return Drawn([](QPainter& p) {
        // A note.
        p.setPen(Outline(kBlue.darker(130), 2.5));
        p.drawLine(QPointF(20, 5), QPointF(20, 23));
        p.drawLine(QPointF(20, 5), QPointF(27, 9));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(9, 19, 11, 8));
    });
}

QIcon FavoritesIcon() {
    return Drawn([](QPainter& p) { Star(p, {16, 17}, 14, kGold); });
}

QIcon ProgramIcon() {
    return Drawn([](QPainter& p) {
        p.setPen(Outline(kDark, 1.5));
        p.setBrush(QColor(0x1d, 0x4f, 0x91));
        p.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
        // Radio waves caught in a trap's jaws.
        p.setPen(Outline(Qt::white, 2.2));
        p.setBrush(Qt::NoBrush);
        for (int r : {5, 9, 13}) p.drawArc(QRectF(16 - r, 14 - r, 2 * r, 2 * r), 40 * 16, 100 * 16);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(14, 12, 4, 4));
        p.setPen(Outline(kGold, 2.5));
        p.drawLine(QPointF(6, 25), QPointF(26, 25));
    });
}

}  // namespace wt::ui

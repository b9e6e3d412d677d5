#include "app/widgets/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap blankPixmap(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap openFolderPicture() {
    QPixmap pixmap = blankPixmap(24, 18);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor outline(120, 88, 20);

    // Back of the folder with its tab.
    QPainterPath back;
    back.moveTo(1.5, 16.5);
    back.lineTo(1.5, 2.5);
    back.lineTo(7.5, 2.5);
    back.lineTo(9.5, 4.5);
    back.lineTo(18.5, 4.5);
    back.lineTo(18.5, 16.5);
    back.closeSubpath();
    painter.setPen(QPen(outline, 1));
    painter.setBrush(QColor(222, 176, 60));
    painter.drawPath(back);

    // A sheet of paper sticking out.
    painter.setBrush(Qt::white);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.drawRect(QRectF(4.5, 5.5, 11, 8));

    // Front flap, swung open towards the viewer.
    QPainterPath flap;
    flap.moveTo(1.5, 16.5);
    flap.lineTo(5.5, 8.5);
    flap.lineTo(22.5, 8.5);
    flap.lineTo(18.5, 16.5);
    flap.closeSubpath();
    painter.setPen(QPen(outline, 1));
    painter.setBrush(QColor(250, 214, 100));
    painter.drawPath(flap);
    return pixmap;
}

QPixmap spreadsheetPicture() {
    QPixmap pixmap = blankPixmap(36, 36);
    QPainter painter(&pixmap);
    const QColor green(33, 115, 70);
    const QRect sheet(3, 3, 30, 30);

    painter.fillRect(sheet, Qt::white);
    painter.fillRect(QRect(sheet.left(), sheet.top(), sheet.width(), 7), green); // header row
    painter.fillRect(QRect(sheet.left(), sheet.top(), 7, sheet.height()), green.lighter(160));

    // Cell lines: a narrow first column, then equal columns and rows.
    painter.setPen(QPen(QColor(170, 190, 175), 1));
    for (int x = sheet.left() + 7; x < sheet.right(); x += 8)
        painter.drawLine(x, sheet.top() + 7, x, sheet.bottom());
    for (int y = sheet.top() + 7; y < sheet.bottom(); y += 5)
        painter.drawLine(sheet.left(), y, sheet.right(), y);

    // A few filled cells, as if holding exported values.
    const QColor value(90, 90, 90);
    painter.fillRect(QRect(12, 13, 6, 2), value);
    painter.fillRect(QRect(20, 13, 5, 2), value);
    painter.fillRect(QRect(12, 18, 4, 2), value);
    painter.fillRect(QRect(20, 23, 6, 2), value);
    painter.fillRect(QRect(28, 18, 3, 2), value);

    painter.setPen(QPen(green.darker(130), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));
    return pixmap;
}

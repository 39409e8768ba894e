// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowicon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace app {

namespace {

const QString Drawing = QStringLiteral(":/pictures/tavimark.svg");

QPixmap rendered(QSvgRenderer &drawing, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawing.render(&painter, QRectF(0, 0, size, size));
    return pixmap;
}

} // namespace

QIcon programIcon()
{
    QSvgRenderer drawing(Drawing);
    QIcon icon;
    if (!drawing.isValid())
        return icon;
    for (const int size : WindowIconSizes)
        icon.addPixmap(rendered(drawing, size));
    return icon;
}

} // namespace app

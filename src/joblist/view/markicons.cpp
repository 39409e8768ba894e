// SPDX-License-Identifier: GPL-3.0-or-later
#include "markicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace joblist {

namespace {

constexpr int IconSize = 12;

// Every mark is a coloured disc with a white sign on it; the entries still
// waiting have none.
QColor discColour(Mark mark)
{
    switch (mark) {
    case Mark::Printing:
        return QColor(0x2a, 0x6f, 0xdb);
    case Mark::Printed:
        return QColor(0x2e, 0x9d, 0x4a);
    case Mark::PrintedIncomplete:
        return QColor(0xe0, 0x9b, 0x12);
    case Mark::NotPrinted:
        return QColor(0xc8, 0x2b, 0x2b);
    case Mark::MayHavePrinted:
    case Mark::AnswerUnknown:
        return QColor(0x7a, 0x4f, 0xc4);
    case Mark::Sent:
        return QColor(0x6f, 0xa8, 0x7d);
    case Mark::Held:
        return QColor(0xe0, 0x9b, 0x12);
    case Mark::Aborted:
        return QColor(0xc8, 0x2b, 0x2b);
    case Mark::None:
    case Mark::Pending:
        break;
    }
    return {};
}

void drawSign(QPainter &painter, Mark mark)
{
    painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (mark) {
    case Mark::Printing: {
        QPainterPath arrow;
        arrow.moveTo(4.5, 3.2);
        arrow.lineTo(8.8, 6.0);
        arrow.lineTo(4.5, 8.8);
        arrow.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawPath(arrow);
        break;
    }
    case Mark::Printed:
    case Mark::Sent:
        painter.drawPolyline(QPolygonF({{3.2, 6.2}, {5.2, 8.2}, {8.8, 4.0}}));
        break;
    case Mark::Held:
        // Two bars: paused.
        painter.drawLine(QPointF(4.6, 3.8), QPointF(4.6, 8.2));
        painter.drawLine(QPointF(7.4, 3.8), QPointF(7.4, 8.2));
        break;
    case Mark::PrintedIncomplete:
        painter.drawLine(QPointF(6, 3), QPointF(6, 6.8));
        painter.drawPoint(QPointF(6, 9));
        break;
    case Mark::NotPrinted:
    case Mark::Aborted:
        painter.drawLine(QPointF(4, 4), QPointF(8, 8));
        painter.drawLine(QPointF(8, 4), QPointF(4, 8));
        break;
    case Mark::MayHavePrinted:
    case Mark::AnswerUnknown: {
        // A question mark: whether it printed is for the user to check.
        QPainterPath hook;
        hook.moveTo(4.2, 4.6);
        hook.cubicTo(4.2, 2.4, 7.8, 2.4, 7.8, 4.6);
        hook.cubicTo(7.8, 6.0, 6.0, 6.0, 6.0, 7.4);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(hook);
        painter.drawPoint(QPointF(6, 9.3));
        break;
    }
    case Mark::None:
    case Mark::Pending:
        break;
    }
}

// Drawn once per mark, at one and two device pixels per point, so the marks
// stay sharp on scaled screens.
QPixmap drawMark(Mark mark, qreal scale)
{
    QPixmap pixmap(QSize(IconSize, IconSize) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    const QColor colour = discColour(mark);
    if (!colour.isValid())
        return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0.5, 0.5, IconSize - 1, IconSize - 1));
    drawSign(painter, mark);
    return pixmap;
}

QIcon makeIcon(Mark mark)
{
    QIcon icon;
    icon.addPixmap(drawMark(mark, 1));
    icon.addPixmap(drawMark(mark, 2));
    return icon;
}

} // namespace

QIcon markIcon(Mark mark)
{
    if (mark == Mark::None || mark == Mark::Pending)
        return {};
    static const std::array<QIcon, 9> icons = {
        makeIcon(Mark::Printing),       makeIcon(Mark::Printed), makeIcon(Mark::PrintedIncomplete),
        makeIcon(Mark::NotPrinted),     makeIcon(Mark::MayHavePrinted), makeIcon(Mark::Sent),
        makeIcon(Mark::Held),           makeIcon(Mark::Aborted), makeIcon(Mark::AnswerUnknown)};
    return icons[std::size_t(mark) - std::size_t(Mark::Printing)];
}

} // namespace joblist

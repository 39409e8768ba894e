// SPDX-License-Identifier: GPL-3.0-or-later
// Renders a cursor drawing into the cursor file the program loads at run
// time; the build runs it for each drawing beside it (see CMakeLists.txt):
//   makecursors hand.svg HAND-M.CUR 12 1
//   makecursors drag.svg drag.ico
// A hot spot makes a cursor file; without one an icon file is written. Both
// hold one 32 x 32 image with an alpha channel and an AND mask.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

namespace {
void put16(QByteArray &out, quint16 v) { v = qToLittleEndian(v); out.append(reinterpret_cast<const char *>(&v), 2); }
void put32(QByteArray &out, quint32 v) { v = qToLittleEndian(v); out.append(reinterpret_cast<const char *>(&v), 4); }
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 5)
        return 2;
    const bool cursor = argc == 5;
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(QString::fromLocal8Bit(argv[1])).render(&painter);
    painter.end();

    QByteArray dib;
    put32(dib, 40); put32(dib, 32); put32(dib, 64); put16(dib, 1); put16(dib, 32);
    put32(dib, 0); put32(dib, 0); put32(dib, 0); put32(dib, 0); put32(dib, 0); put32(dib, 0);
    for (int y = 31; y >= 0; --y)
        for (int x = 0; x < 32; ++x)
            put32(dib, image.pixel(x, y));
    for (int y = 31; y >= 0; --y) {
        quint32 bits = 0;
        for (int x = 0; x < 32; ++x)
            if (qAlpha(image.pixel(x, y)) < 128)
                bits |= 1u << (31 - x);
        for (int shift = 24; shift >= 0; shift -= 8)
            dib.append(char((bits >> shift) & 0xff));
    }

    QByteArray file;
    put16(file, 0); put16(file, cursor ? 2 : 1); put16(file, 1);
    file.append(char(32)); file.append(char(32)); file.append(char(0)); file.append(char(0));
    put16(file, cursor ? quint16(atoi(argv[3])) : 1);
    put16(file, cursor ? quint16(atoi(argv[4])) : 32);
    put32(file, quint32(dib.size())); put32(file, 6 + 16);
    file.append(dib);

    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    out.write(file);
    return 0;
}

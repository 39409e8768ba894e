// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The documents the print benchmarks print: small ones of about half a
// page and medium ones of about five, each titled and headed with its
// number, written to disk as the user's files would be.

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace bench {

inline QString paragraphs(int count, int seed)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += u"<p>Paragraph " + QString::number(i + 1) + u" of document " + QString::number(seed)
            + u": the quick brown fox jumps over the lazy dog, and then it sits down for a rest in "
              u"the warm afternoon sun while the dog, unimpressed, goes back to sleep.</p>";
    return text;
}

inline QString smallDocument(int n)
{
    return u"<!doctype html><html><head><meta charset=\"utf-8\"><title>Small " + QString::number(n)
        + u"</title><style>body{font-family:sans-serif} h1{color:#124}</style></head><body><h1>Small document "
        + QString::number(n) + u"</h1>" + paragraphs(4, n) + u"</body></html>";
}

// The same document under a title in Hebrew, which the headings draw in a
// font of their own.
inline QString smallHebrewTitledDocument(int n)
{
    return smallDocument(n).replace(QStringLiteral("<title>Small "), QStringLiteral("<title>דוח שנתי "));
}

// About five printed A4 pages: text, a 30-row table with backgrounds, and
// an inline drawing.
inline QString mediumDocument(int n)
{
    QString table = QStringLiteral("<table border=1 cellspacing=0 cellpadding=4><tr style=\"background:#dde\">"
                                   "<th>Row</th><th>Item</th><th>Quantity</th><th>Price</th></tr>");
    for (int row = 1; row <= 30; ++row)
        table += u"<tr><td>" + QString::number(row) + u"</td><td>Item " + QString::number(row * 7 % 31)
            + u"</td><td>" + QString::number(row * 3) + u"</td><td>" + QString::number(row * 2.5, 'f', 2)
            + u"</td></tr>";
    table += u"</table>";
    const QString svg = QStringLiteral(
        "<svg width=\"400\" height=\"200\" xmlns=\"http://www.w3.org/2000/svg\">"
        "<rect x=\"10\" y=\"10\" width=\"380\" height=\"180\" fill=\"#eef\" stroke=\"#336\"/>"
        "<circle cx=\"100\" cy=\"100\" r=\"60\" fill=\"#c33\"/><polyline points=\"200,180 250,40 300,150 350,60\" "
        "fill=\"none\" stroke=\"#393\" stroke-width=\"4\"/><text x=\"200\" y=\"30\">Figure</text></svg>");
    return u"<!doctype html><html><head><meta charset=\"utf-8\"><title>Medium " + QString::number(n)
        + u"</title><style>body{font-family:serif} td{font-size:11pt}</style></head><body><h1>Medium document "
        + QString::number(n) + u"</h1>" + paragraphs(25, n) + table + svg + paragraphs(25, n + 1000)
        + u"</body></html>";
}

inline QStringList writeDocuments(const QString &folder, const QString &stem, int count, QString (*make)(int))
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 1; i <= count; ++i) {
        const QString path = folder + u'/' + stem + QString::number(i) + u".htm";
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(make(i).toUtf8());
        paths << path;
    }
    return paths;
}

} // namespace bench

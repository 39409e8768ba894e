// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests of whole runs make and read: documents of a known number of
// pages, and the JSON objects a run writes one a line.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

// A document `name` of `pages` pages in `folder`, each page headed
// "NAME WORD N", so that a test can tell which page of which document it
// reads.
inline QString pagedDocument(const QString &folder, const QString &name, int pages, const QString &word)
{
    QString html = QStringLiteral("<!doctype html><title>") + name
        + QStringLiteral("</title><style>div{page-break-after:always}div:last-child{page-break-after:auto}</style>");
    for (int page = 1; page <= pages; ++page)
        html += QStringLiteral("<div><h1>") + name + u' ' + word + u' ' + QString::number(page) + QStringLiteral("</h1></div>");
    const QString path = folder + u'/' + name + QStringLiteral(".html");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(html.toUtf8());
    return path;
}

// The objects of `out`, one a line; nothing at all when any line is not one,
// so that a damaged line fails the test that reads it.
inline QList<QJsonObject> jsonLines(const QByteArray &out)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return {};
        objects << document.object();
    }
    return objects;
}

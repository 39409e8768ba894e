// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

namespace app {

// A JSON object on one line, its fields in the order they were added: a
// QJsonObject sorts them, and a person reading a journal or the --json
// output wants the entry first and the header's name at its head.
class JsonLine {
public:
    JsonLine &add(const QString &name, const QJsonValue &value);
    // A value already written as JSON, such as another line's text.
    JsonLine &addEncoded(const QString &name, const QByteArray &json);
    // The object and its line end.
    QByteArray line() const { return '{' + m_fields + "}\n"; }
    QByteArray object() const { return '{' + m_fields + '}'; }

private:
    QByteArray m_fields;
};

} // namespace app

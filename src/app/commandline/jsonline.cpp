// SPDX-License-Identifier: GPL-3.0-or-later
#include "jsonline.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace app {

namespace {

// Qt writes values only inside an array or object; the array's brackets
// come off again.
QByteArray encoded(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace

JsonLine &JsonLine::add(const QString &name, const QJsonValue &value)
{
    return addEncoded(name, encoded(value));
}

JsonLine &JsonLine::addEncoded(const QString &name, const QByteArray &json)
{
    if (!m_fields.isEmpty())
        m_fields += ',';
    m_fields += encoded(name) + ':' + json;
    return *this;
}

} // namespace app

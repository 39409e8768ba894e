// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontnames.h"

#include <QtEndian>

#include <map>

namespace printing {

namespace {

constexpr int HeaderSize = 12;
constexpr int RecordSize = 16;

quint16 u16(const QByteArray &bytes, qsizetype at)
{
    return qFromBigEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray &bytes, qsizetype at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

void put16(QByteArray &bytes, quint16 value)
{
    char data[2];
    qToBigEndian(value, data);
    bytes.append(data, 2);
}

void put32(QByteArray &bytes, quint32 value)
{
    char data[4];
    qToBigEndian(value, data);
    bytes.append(data, 4);
}

// The sum of a table's big-endian words, its end padded with zeros.
quint32 checksum(const QByteArray &table)
{
    QByteArray padded = table;
    padded.append((4 - padded.size() % 4) % 4, '\0');
    quint32 sum = 0;
    for (qsizetype at = 0; at < padded.size(); at += 4)
        sum += u32(padded, at);
    return sum;
}

bool isKeptName(quint16 id)
{
    return id == 1 || id == 2 || id == 4 || id == 6;
}

// A naming table holding only the kept records; nothing when `table` is
// not one this can read.
std::optional<QByteArray> namesOnly(const QByteArray &table)
{
    if (table.size() < 6)
        return std::nullopt;
    const quint16 count = u16(table, 2);
    const quint16 stringsAt = u16(table, 4);
    if (table.size() < 6 + qsizetype(count) * 12 || stringsAt > table.size())
        return std::nullopt;
    QByteArray records;
    QByteArray strings;
    quint16 kept = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + qsizetype(i) * 12;
        const quint16 length = u16(table, record + 8);
        const qsizetype offset = qsizetype(stringsAt) + u16(table, record + 10);
        if (!isKeptName(u16(table, record + 6)))
            continue;
        if (offset + length > table.size())
            return std::nullopt;
        records.append(table.constData() + record, 8);  // platform, encoding, language, name
        put16(records, length);
        put16(records, quint16(strings.size()));
        strings.append(table.constData() + offset, length);
        ++kept;
    }
    QByteArray result;
    put16(result, 0);
    put16(result, kept);
    put16(result, quint16(6 + kept * 12));
    return result + records + strings;
}

} // namespace

std::optional<QByteArray> withNamesOnly(const QByteArray &font)
{
    if (font.size() < HeaderSize || u32(font, 0) != 0x00010000)
        return std::nullopt;
    const quint16 count = u16(font, 4);
    if (font.size() < HeaderSize + qsizetype(count) * RecordSize)
        return std::nullopt;
    // Written back in the order of their tags, as the directory must be.
    std::map<quint32, QByteArray> tables;
    for (int i = 0; i < count; ++i) {
        const qsizetype record = HeaderSize + qsizetype(i) * RecordSize;
        const quint32 offset = u32(font, record + 8);
        const quint32 length = u32(font, record + 12);
        if (qint64(offset) + length > font.size())
            return std::nullopt;
        tables[u32(font, record)] = font.mid(offset, length);
    }
    constexpr quint32 Name = 0x6e616d65;  // 'name'
    constexpr quint32 Head = 0x68656164;  // 'head'
    if (auto name = tables.find(Name); name != tables.end()) {
        std::optional<QByteArray> shorter = namesOnly(name->second);
        if (!shorter)
            return std::nullopt;
        name->second = *shorter;
    }
    const auto head = tables.find(Head);
    if (head == tables.end() || head->second.size() < 12)
        return std::nullopt;
    // The whole font's checksum is worked out again below.
    head->second.replace(8, 4, QByteArray(4, '\0'));

    QByteArray result = font.left(HeaderSize);  // version, table count, search hints: all unchanged
    QByteArray body;
    qsizetype at = HeaderSize + qsizetype(tables.size()) * RecordSize;
    qsizetype headAt = 0;
    for (const auto &[tag, table] : tables) {
        put32(result, tag);
        put32(result, checksum(table));
        put32(result, quint32(at + body.size()));
        put32(result, quint32(table.size()));
        if (tag == Head)
            headAt = at + body.size();
        body += table;
        body.append((4 - body.size() % 4) % 4, '\0');
    }
    result += body;
    char adjustment[4];
    qToBigEndian(quint32(0xB1B0AFBA - checksum(result)), adjustment);
    result.replace(headAt + 8, 4, QByteArray(adjustment, 4));
    return result;
}

} // namespace printing

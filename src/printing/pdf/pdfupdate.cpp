// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfupdate.h"
#include "pdfbytes.h"

#include <QList>
#include <QString>

#include <algorithm>

namespace printing {

namespace {

// Where the last cross-reference section starts, as the file's end says.
std::optional<qint64> lastTableOffset(const QByteArray &pdf)
{
    const qsizetype keyword = pdf.lastIndexOf("startxref", -1);
    if (keyword < 0 || pdf.size() - keyword > 1024)
        return std::nullopt;
    bool ok = false;
    const qint64 offset = pdf.mid(keyword + 9, 32).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || offset <= 0 || offset >= keyword)
        return std::nullopt;
    return offset;
}

QByteArray tableLine(qint64 offset, int generation)
{
    // Each line of a table is exactly 20 bytes, its end of line included.
    return QByteArray::number(offset).rightJustified(10, '0') + ' '
        + QByteArray::number(generation).rightJustified(5, '0') + " n \n";
}

} // namespace

std::optional<PdfUpdate> PdfUpdate::of(const QByteArray &original, QPDF &document)
{
    const std::optional<qint64> table = lastTableOffset(original);
    if (!table || !original.mid(*table, 4).startsWith("xref") || document.isEncrypted() || document.anyWarnings())
        return std::nullopt;
    QPDFObjectHandle trailer = document.getTrailer();
    QPDFObjectHandle size = trailer.getKey("/Size");
    // A hybrid file's table leaves some objects to a stream the update would
    // have to name again; rare enough to leave to a full rewrite.
    if (!size.isInteger() || size.getIntValue() < 1 || size.getIntValue() > 8'000'000 || trailer.hasKey("/XRefStm"))
        return std::nullopt;
    return PdfUpdate(original, document, *table, int(size.getIntValue()));
}

PdfUpdate::PdfUpdate(const QByteArray &original, QPDF &document, qint64 previousTable, int size)
    : m_original(original)
    , m_trailer(document.getTrailer())
    , m_previousTable(previousTable)
    , m_firstNew(size)
    , m_next(size)
{
}

bool PdfUpdate::replace(QPDFObjGen id, QByteArray body)
{
    if (id.getObj() < 1 || id.getObj() >= m_firstNew)
        return false;
    m_objects.push_back({id, std::move(body)});
    return true;
}

int PdfUpdate::copied(QPDFObjectHandle foreign)
{
    const int number = numberFor(foreign);
    // Objects are written one after the other, never by recursing into
    // references, so no chain of them can run the stack out.
    while (!m_toCopy.empty()) {
        auto [next, object] = m_toCopy.back();
        m_toCopy.pop_back();
        set(next, copiedBody(object));
    }
    return number;
}

int PdfUpdate::numberFor(QPDFObjectHandle foreign)
{
    const auto [known, added] = m_copies.try_emplace(foreign.getObjGen(), 0);
    if (added) {
        known->second = newObject();
        m_toCopy.emplace_back(known->second, foreign);
    }
    return known->second;
}

// A direct object's text, its references renumbered.
QByteArray PdfUpdate::copiedText(QPDFObjectHandle foreign)
{
    if (foreign.isIndirect())
        return QByteArray::number(numberFor(foreign)) + " 0 R";
    if (foreign.isArray()) {
        QByteArray text = "[";
        for (QPDFObjectHandle item : foreign.getArrayAsVector())
            text += copiedText(item) + ' ';
        return text + ']';
    }
    if (foreign.isDictionary()) {
        QByteArray text = "<<";
        for (const std::string &key : foreign.getKeys())
            text += QByteArray::fromStdString(QPDFObjectHandle::newName(key).unparse()) + ' '
                + copiedText(foreign.getKey(key)) + '\n';
        return text + ">>";
    }
    return QByteArray::fromStdString(foreign.unparseResolved());
}

QByteArray PdfUpdate::copiedBody(QPDFObjectHandle foreign)
{
    if (foreign.isStream()) {
        QPDFObjectHandle dictionary = foreign.getDict();
        QByteArray entries;
        for (const std::string &key : dictionary.getKeys()) {
            if (key != "/Length")
                entries += QByteArray::fromStdString(QPDFObjectHandle::newName(key).unparse()) + ' '
                    + copiedText(dictionary.getKey(key)) + '\n';
        }
        // Raw: still encoded as its /Filter says, which is copied with it.
        QByteArray data = bytesOf(*foreign.getRawStreamData());
        // Text maps and drawings often come unencoded; they shrink to a third.
        if (!dictionary.hasKey("/Filter") && data.size() > 128) {
            entries += "/Filter /FlateDecode\n";
            data = deflated(data);
        }
        return stream(entries, data);
    }
    // Its own contents, not a reference to itself.
    QPDFObjectHandle direct = foreign.shallowCopy();
    return copiedText(direct);
}

QByteArray PdfUpdate::stream(const QByteArray &entries, const QByteArray &data)
{
    return "<< " + entries + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

QByteArray PdfUpdate::written() const
{
    std::vector<Object> objects = m_objects;
    std::sort(objects.begin(), objects.end(), [](const Object &a, const Object &b) { return a.id < b.id; });
    QByteArray pdf = m_original;
    if (!pdf.endsWith('\n'))
        pdf += '\n';
    std::vector<qint64> offsets;
    for (const Object &object : objects) {
        offsets.push_back(pdf.size());
        pdf += QByteArray::number(object.id.getObj()) + ' ' + QByteArray::number(object.id.getGen()) + " obj\n"
            + object.body + "\nendobj\n";
    }
    const qint64 table = pdf.size();
    pdf += "xref\n";
    // One subsection for each run of consecutive numbers.
    for (size_t first = 0; first < objects.size();) {
        size_t end = first + 1;
        while (end < objects.size() && objects[end].id.getObj() == objects[end - 1].id.getObj() + 1)
            ++end;
        pdf += QByteArray::number(objects[first].id.getObj()) + ' ' + QByteArray::number(qint64(end - first)) + '\n';
        for (size_t i = first; i < end; ++i)
            pdf += tableLine(offsets[i], objects[i].id.getGen());
        first = end;
    }
    QPDFObjectHandle trailer = m_trailer;
    pdf += "trailer\n<< /Size " + QByteArray::number(m_next) + " /Prev " + QByteArray::number(m_previousTable);
    for (const char *key : {"/Root", "/Info", "/ID"}) {
        if (trailer.hasKey(key))
            pdf += QByteArray(" ") + key + ' ' + QByteArray::fromStdString(trailer.getKey(key).unparse());
    }
    return pdf + " >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
}

} // namespace printing

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Changes to a PDF written as the format allows for them: new and changed
// objects after the original bytes, with a cross-reference section of
// their own that points back to the original one. The original bytes stay
// exactly as they are and are never parsed or written again, so the change
// costs what it adds, not what the document holds.

#include <QByteArray>

#include <qpdf/QPDF.hh>

#include <map>
#include <optional>
#include <vector>

namespace printing {

class PdfUpdate {
public:
    // An update to `original`, which `document` has read; nothing when one
    // cannot be appended safely: the file is encrypted, qpdf had to repair
    // it, or its cross-references are a stream, which an appended table
    // may not follow.
    static std::optional<PdfUpdate> of(const QByteArray &original, QPDF &document);

    // The number of an object the update will add; its text is set later.
    int newObject() { return m_next++; }
    // `body`, what goes between "obj" and "endobj", as the text of the new
    // object `id`.
    void set(int id, QByteArray body) { m_objects.push_back({QPDFObjGen(id, 0), std::move(body)}); }
    // `body` in place of an object of the original; false when the original
    // has no such object, which could then clash with a new one.
    bool replace(QPDFObjGen id, QByteArray body);
    // The number under which `foreign`, an indirect object of another PDF,
    // and every object it refers to are added, each once however often it
    // is asked for; all copies of one update come from the same PDF.
    int copied(QPDFObjectHandle foreign);
    // A stream's body: its dictionary's entries (without << >>) and `data`.
    static QByteArray stream(const QByteArray &entries, const QByteArray &data);

    // The original bytes with the update after them.
    QByteArray written() const;

private:
    struct Object {
        QPDFObjGen id;
        QByteArray body;
    };
    PdfUpdate(const QByteArray &original, QPDF &document, qint64 previousTable, int size);
    int numberFor(QPDFObjectHandle foreign);
    QByteArray copiedText(QPDFObjectHandle foreign);
    QByteArray copiedBody(QPDFObjectHandle foreign);

    QByteArray m_original;  // shared, not copied
    QPDFObjectHandle m_trailer;
    qint64 m_previousTable = 0;
    int m_firstNew = 0;  // the original's objects are numbered below it
    int m_next = 0;
    std::vector<Object> m_objects;
    std::map<QPDFObjGen, int> m_copies;  // foreign number, number here
    std::vector<std::pair<int, QPDFObjectHandle>> m_toCopy;
};

} // namespace printing

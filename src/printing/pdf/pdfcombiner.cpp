// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfcombiner.h"
#include "outline.h"
#include "pdfbytes.h"
#include "pdfdocument.h"

#include <QFile>
#include <QTemporaryDir>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <exception>
#include <map>
#include <set>
#include <vector>

namespace printing {

namespace {

using outline::OutlineNode;
using outline::reference;

// The page tree's root and the catalog come first, so that every page can
// name its parent as it is written.
constexpr int PagesObject = 1;
constexpr int CatalogObject = 2;

QByteArray pdfText(const QString &text)
{
    return QByteArray::fromStdString(QPDFObjectHandle::newUnicodeString(bookmarkText(text).toStdString()).unparse());
}

QByteArray nameText(const std::string &key)
{
    return QByteArray::fromStdString(QPDFObjectHandle::newName(key).unparse());
}

// The outline items of `pdf`, depth first, each with its depth, title and
// destination; bounded however the file links them.
struct SourceItem {
    int level = 1;
    QPDFObjectHandle title;
    QPDFObjectHandle destination;
};

std::vector<SourceItem> outlineOf(QPDF &pdf)
{
    std::vector<SourceItem> items;
    QPDFObjectHandle outlines = pdf.getRoot().getKey("/Outlines");
    if (!outlines.isDictionary())
        return items;
    std::vector<std::pair<QPDFObjectHandle, int>> pending{{outlines.getKey("/First"), 1}};
    std::set<QPDFObjGen> seen;
    while (!pending.empty() && items.size() < size_t(MostBookmarks)) {
        auto [item, level] = pending.back();
        pending.pop_back();
        if (!item.isDictionary() || !item.isIndirect() || !seen.insert(item.getObjGen()).second)
            continue;
        QPDFObjectHandle dest = item.getKey("/Dest");
        if (dest.isDictionary())
            dest = dest.getKey("/D");
        items.push_back({level, item.getKey("/Title"), dest});
        pending.emplace_back(item.getKey("/Next"), level);
        pending.emplace_back(item.getKey("/First"), level + 1);
    }
    return items;
}

} // namespace

// The combined file as it is written: where each object starts, the pages
// in order, the bookmarks.
struct PdfCombiner::Writer {
    QFile file;
    std::vector<qint64> offsets{0, 0, 0};  // by object number; 0 is never used
    std::vector<int> pages;
    std::vector<OutlineNode> bookmarks;
    bool failed = false;

    int reserve()
    {
        offsets.push_back(0);
        return int(offsets.size()) - 1;
    }
    void write(int number, const QByteArray &body)
    {
        offsets[size_t(number)] = file.pos();
        const QByteArray text = QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
        failed = failed || file.write(text) != text.size();
    }
};

namespace {

// Copies one document's objects into the combined file, each once, numbered
// anew; objects are written one after the other, never by recursing into
// references, so no chain of them can run the stack out.
class DocumentCopy {
public:
    explicit DocumentCopy(PdfCombiner::Writer &writer)
        : m_writer(writer)
    {
    }

    // The number the page `page` gets, its inherited attributes its own.
    int page(QPDFPageObjectHelper &page)
    {
        QPDFObjectHandle dictionary = page.getObjectHandle();
        const int number = numberFor(dictionary);
        QByteArray text = "<< /Parent " + reference(PagesObject) + '\n';
        for (const std::string &key : dictionary.getKeys()) {
            if (key != "/Parent")
                text += nameText(key) + ' ' + copiedText(dictionary.getKey(key)) + '\n';
        }
        for (const char *inherited : {"/Resources", "/MediaBox", "/CropBox", "/Rotate"}) {
            if (!dictionary.hasKey(inherited)) {
                QPDFObjectHandle value = page.getAttribute(inherited, false);
                if (!value.isNull())
                    text += QByteArray(inherited) + ' ' + copiedText(value) + '\n';
            }
        }
        m_writer.write(number, text + ">>");
        m_written.insert(dictionary.getObjGen());
        flush();
        return number;
    }

    std::optional<int> numberOf(QPDFObjectHandle object) const
    {
        const auto found = m_numbers.find(object.getObjGen());
        return found == m_numbers.end() ? std::nullopt : std::optional<int>(found->second);
    }

private:
    int numberFor(QPDFObjectHandle foreign)
    {
        const auto [known, added] = m_numbers.try_emplace(foreign.getObjGen(), 0);
        if (added) {
            known->second = m_writer.reserve();
            m_pending.push_back(foreign);
        }
        return known->second;
    }

    void flush()
    {
        while (!m_pending.empty()) {
            QPDFObjectHandle next = m_pending.back();
            m_pending.pop_back();
            if (m_written.insert(next.getObjGen()).second)
                m_writer.write(m_numbers.at(next.getObjGen()), copiedBody(next));
        }
    }

    // A direct object's text, its references renumbered. Pages are only
    // ever reached through the page tree, which is written anew: a link to
    // another page is copied as a link to the copy.
    QByteArray copiedText(QPDFObjectHandle foreign)
    {
        if (foreign.isIndirect()) {
            if (foreign.isDictionary() && foreign.getKey("/Type").isNameAndEquals("/Pages"))
                return "null";
            return reference(numberFor(foreign));
        }
        if (foreign.isArray()) {
            QByteArray text = "[";
            for (QPDFObjectHandle item : foreign.getArrayAsVector())
                text += copiedText(item) + ' ';
            return text + ']';
        }
        if (foreign.isDictionary()) {
            QByteArray text = "<<";
            for (const std::string &key : foreign.getKeys())
                text += nameText(key) + ' ' + copiedText(foreign.getKey(key)) + '\n';
            return text + ">>";
        }
        return QByteArray::fromStdString(foreign.unparseResolved());
    }

    QByteArray copiedBody(QPDFObjectHandle foreign)
    {
        if (foreign.isStream()) {
            QPDFObjectHandle dictionary = foreign.getDict();
            QByteArray entries;
            for (const std::string &key : dictionary.getKeys()) {
                if (key != "/Length")
                    entries += nameText(key) + ' ' + copiedText(dictionary.getKey(key)) + '\n';
            }
            // Raw: still encoded as its /Filter says, which is copied with it.
            const QByteArray data = bytesOf(*foreign.getRawStreamData());
            return "<< " + entries + " /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data
                + "\nendstream";
        }
        return copiedText(foreign.shallowCopy());
    }

    PdfCombiner::Writer &m_writer;
    std::map<QPDFObjGen, int> m_numbers;
    std::set<QPDFObjGen> m_written;
    std::vector<QPDFObjectHandle> m_pending;
};

// `destination` pointing at the copy of its page, as PDF text; nothing when
// its page was not copied.
std::optional<QByteArray> movedDestination(QPDFObjectHandle destination, const DocumentCopy &copy)
{
    if (!destination.isArray() || destination.getArrayNItems() < 1 || !destination.getArrayItem(0).isIndirect())
        return std::nullopt;
    const std::optional<int> page = copy.numberOf(destination.getArrayItem(0));
    if (!page)
        return std::nullopt;
    QByteArray text = "[" + reference(*page);
    for (int i = 1; i < destination.getArrayNItems(); ++i)
        text += ' ' + QByteArray::fromStdString(destination.getArrayItem(i).unparseResolved());
    return text + ']';
}

int writeBlankPage(PdfCombiner::Writer &writer, const QByteArray &mediaBox)
{
    const int number = writer.reserve();
    writer.write(number, "<< /Type /Page /Parent " + reference(PagesObject) + " /MediaBox " + mediaBox
                             + " /Resources << >> >>");
    return number;
}

} // namespace

PdfCombiner::PdfCombiner(const QString &folder)
    : m_dir(std::make_unique<QTemporaryDir>(folder + QStringLiteral("/tavimark-combine-XXXXXX")))
    , m_writer(std::make_unique<Writer>())
{
    if (!m_dir->isValid())
        return;
    m_writer->file.setFileName(m_dir->filePath(QStringLiteral("combined.pdf")));
    if (!m_writer->file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_writer->failed = true;
        return;
    }
    // Binary bytes in the comment tell transfer programs the file is binary.
    m_writer->failed = m_writer->file.write("%PDF-1.7\n%\xe2\xe3\xcf\xd3\n") < 0;
}

PdfCombiner::~PdfCombiner() = default;

bool PdfCombiner::usable() const
{
    return m_dir->isValid() && m_writer->file.isOpen() && !m_writer->failed && !m_combined;
}

bool PdfCombiner::add(const QByteArray &pdf, const QString &title, bool evenPages)
{
    return addPages(pdf, title, evenPages, false);
}

bool PdfCombiner::addFront(const QByteArray &pdf, const QString &title, bool evenPages)
{
    return addPages(pdf, title, evenPages, true);
}

bool PdfCombiner::addPages(const QByteArray &pdf, const QString &title, bool evenPages, bool front)
{
    if (!usable())
        return false;
    Writer &writer = *m_writer;
    try {
        QPDF source;
        source.setSuppressWarnings(true);
        source.processMemoryFile("document", pdf.constData(), size_t(pdf.size()));
        if (source.isEncrypted())
            return false;
        QPDFPageDocumentHelper tree(source);
        std::vector<QPDFPageObjectHelper> pages = tree.getAllPages();
        if (pages.empty())
            return false;
        // Its pages join the file's only once all of it is written.
        std::vector<int> added;
        std::vector<OutlineNode> bookmarks;
        // The blank page the document before asked for, now that one follows.
        if (!front && m_lastBlank && !writer.pages.empty())
            added.push_back(writeBlankPage(writer, QByteArray::fromStdString(pages.front().getMediaBox(true).unparseResolved())));
        DocumentCopy copy(writer);
        const size_t first = added.size();
        for (QPDFPageObjectHelper &page : pages)
            added.push_back(copy.page(page));
        OutlineNode top;
        top.title = pdfText(title);
        top.destination = "[" + reference(added[first]) + " /Fit]";
        bookmarks.push_back(top);
        for (SourceItem item : outlineOf(source)) {
            const std::optional<QByteArray> destination = movedDestination(item.destination, copy);
            if (!destination)
                continue;
            OutlineNode node;
            node.title = item.title.isString() ? QByteArray::fromStdString(item.title.unparse()) : pdfText({});
            node.destination = *destination;
            node.level = std::clamp(item.level, 1, 64) + 1;
            bookmarks.push_back(node);
        }
        if (front) {
            // Front pages come before documents that start on a sheet of
            // their own: so do they, when more follows.
            if (evenPages && pages.size() % 2 == 1 && !writer.pages.empty())
                added.push_back(writeBlankPage(writer, QByteArray::fromStdString(pages.front().getMediaBox(true).unparseResolved())));
            writer.pages.insert(writer.pages.begin(), added.begin(), added.end());
            writer.bookmarks.insert(writer.bookmarks.begin(), bookmarks.begin(), bookmarks.end());
            m_pages += int(added.size());
            m_frontPages += int(added.size());
            return !writer.failed;
        }
        m_starts.push_back({title, m_pages - m_frontPages + int(first) + 1});
        writer.pages.insert(writer.pages.end(), added.begin(), added.end());
        writer.bookmarks.insert(writer.bookmarks.end(), bookmarks.begin(), bookmarks.end());
        m_pages += int(added.size());
        ++m_documents;
        m_lastBlank = evenPages && pages.size() % 2 == 1 ? 1 : 0;
        return !writer.failed;
    } catch (const std::exception &) {
        // qpdf reports a file it cannot read, or repair, by throwing; what
        // was written of it is left unreferenced.
        return false;
    }
}

std::optional<QString> PdfCombiner::combine()
{
    if (m_combined)
        return m_combined;
    if (!usable() || m_writer->pages.empty())
        return std::nullopt;
    Writer &writer = *m_writer;
    QByteArray kids;
    for (const int page : writer.pages)
        kids += reference(page) + ' ';
    writer.write(PagesObject, "<< /Type /Pages /Kids [" + kids + "] /Count "
                                  + QByteArray::number(qint64(writer.pages.size())) + " >>");
    QByteArray catalog = "<< /Type /Catalog /Pages " + reference(PagesObject);
    std::vector<OutlineNode> &nodes = writer.bookmarks;
    if (!nodes.empty()) {
        outline::linkOutline(nodes);
        const int root = writer.reserve();
        std::vector<int> number;
        for (size_t i = 0; i < nodes.size(); ++i)
            number.push_back(writer.reserve());
        writer.write(root, outline::outlineRootText(nodes, number));
        for (size_t i = 0; i < nodes.size(); ++i)
            writer.write(number[i], outline::outlineItemText(nodes, i, number, root));
        catalog += " /Outlines " + reference(root) + " /PageMode /UseOutlines";
    }
    writer.write(CatalogObject, catalog + " >>");
    const qint64 table = writer.file.pos();
    QByteArray xref = "xref\n0 " + QByteArray::number(qint64(writer.offsets.size())) + "\n0000000000 65535 f \n";
    for (size_t i = 1; i < writer.offsets.size(); ++i) {
        // An object left unreferenced by a document that failed part way
        // may never have been written: it is marked free.
        if (writer.offsets[i] > 0)
            xref += QByteArray::number(writer.offsets[i]).rightJustified(10, '0') + " 00000 n \n";
        else
            xref += "0000000000 00001 f \n";
    }
    xref += "trailer\n<< /Size " + QByteArray::number(qint64(writer.offsets.size())) + " /Root "
        + reference(CatalogObject) + " >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
    const bool written = writer.file.write(xref) == xref.size() && writer.file.flush() && !writer.failed;
    writer.file.close();
    if (!written)
        return std::nullopt;
    m_combined = writer.file.fileName();
    return m_combined;
}

} // namespace printing

// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfcombiner.h"
#include "outline.h"
#include "pdfdocument.h"

#include <QFile>
#include <QTemporaryDir>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <map>
#include <set>
#include <vector>

namespace printing {

namespace {

using outline::OutlineNode;

// One file to merge: a document (with its bookmark's title, and whether it
// is made even), or a batch already merged, whose bookmarks stand as they are.
struct Part {
    QString path;
    QString title;
    bool evenPages = false;
    bool document = true;
};

QString partPath(const QTemporaryDir &dir, int number)
{
    return dir.filePath(QStringLiteral("part-%1.pdf").arg(number));
}

QByteArray pdfText(const QString &text)
{
    return QByteArray::fromStdString(QPDFObjectHandle::newUnicodeString(bookmarkText(text).toStdString()).unparse());
}

// The outline items of `pdf`, depth first, each with its depth and its
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
    while (!pending.empty() && items.size() < size_t(MostBookmarks) * 4) {
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

// `destination` pointing at the copy of its page, as PDF text; nothing when
// its page was not copied.
std::optional<QByteArray> movedDestination(QPDFObjectHandle destination, const std::map<QPDFObjGen, QPDFObjectHandle> &copies)
{
    if (!destination.isArray() || destination.getArrayNItems() < 1 || !destination.getArrayItem(0).isIndirect())
        return std::nullopt;
    const auto page = copies.find(destination.getArrayItem(0).getObjGen());
    if (page == copies.end())
        return std::nullopt;
    QPDFObjectHandle copy = page->second;
    QByteArray text = "[" + QByteArray::fromStdString(copy.unparse());
    for (int i = 1; i < destination.getArrayNItems(); ++i)
        text += ' ' + QByteArray::fromStdString(destination.getArrayItem(i).unparse());
    return text + ']';
}

void addBlankPage(QPDF &target, QPDFPageObjectHelper &like)
{
    QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
    page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
    page.replaceKey("/MediaBox", like.getMediaBox(true).shallowCopy());
    if (QPDFObjectHandle rotate = like.getAttribute("/Rotate", false); rotate.isInteger())
        page.replaceKey("/Rotate", rotate);
    page.replaceKey("/Resources", QPDFObjectHandle::newDictionary());
    page.replaceKey("/Contents", target.newStream(""));
    QPDFPageDocumentHelper(target).addPage(QPDFPageObjectHelper(target.makeIndirectObject(page)), false);
}

// Copies the pages of `source` to the end of `target`, and its bookmarks,
// under one of its own when `part` is a document.
void append(QPDF &target, QPDF &source, const Part &part, std::vector<OutlineNode> &nodes)
{
    QPDFPageDocumentHelper targetPages(target);
    std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(source).getAllPages();
    std::map<QPDFObjGen, QPDFObjectHandle> copies;
    const size_t first = target.getAllPages().size();
    for (QPDFPageObjectHelper &page : pages) {
        targetPages.addPage(page, false);
        copies.emplace(page.getObjectHandle().getObjGen(), target.getAllPages().back());
    }
    if (part.document && part.evenPages && pages.size() % 2 == 1)
        addBlankPage(target, pages.back());
    const int depth = part.document ? 1 : 0;
    if (part.document && !pages.empty()) {
        OutlineNode top;
        top.title = pdfText(part.title);
        QPDFObjectHandle firstPage = target.getAllPages()[first];
        top.destination = "[" + QByteArray::fromStdString(firstPage.unparse()) + " /Fit]";
        top.level = 1;
        nodes.push_back(top);
    }
    for (SourceItem item : outlineOf(source)) {
        if (int(nodes.size()) >= MostBookmarks * 4)
            break;
        const std::optional<QByteArray> destination = movedDestination(item.destination, copies);
        if (!destination)
            continue;
        OutlineNode node;
        node.title = item.title.isString() ? QByteArray::fromStdString(item.title.unparse()) : pdfText({});
        node.destination = *destination;
        node.level = item.level + depth;
        nodes.push_back(node);
    }
}

void addOutline(QPDF &target, std::vector<OutlineNode> &nodes)
{
    if (nodes.empty())
        return;
    outline::linkOutline(nodes);
    QPDFObjectHandle root = target.makeIndirectObject(QPDFObjectHandle::newNull());
    std::vector<QPDFObjectHandle> items;
    std::vector<int> number;
    for (size_t i = 0; i < nodes.size(); ++i) {
        items.push_back(target.makeIndirectObject(QPDFObjectHandle::newNull()));
        number.push_back(items.back().getObjGen().getObj());
    }
    target.replaceObject(root.getObjGen(),
                         QPDFObjectHandle::parse(&target, outline::outlineRootText(nodes, number).toStdString()));
    for (size_t i = 0; i < nodes.size(); ++i)
        target.replaceObject(items[i].getObjGen(),
                             QPDFObjectHandle::parse(&target, outline::outlineItemText(nodes, i, number,
                                                                                         root.getObjGen().getObj())
                                                                  .toStdString()));
    target.getRoot().replaceKey("/Outlines", root);
    target.getRoot().replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
}

// Merges `parts` into the file `out`. The parts stay open until the file is
// written, as their streams are copied from them then.
bool merge(const std::vector<Part> &parts, const QString &out)
{
    try {
        QPDF target;
        target.emptyPDF();
        std::vector<std::unique_ptr<QPDF>> sources;
        std::vector<OutlineNode> nodes;
        for (const Part &part : parts) {
            auto source = std::make_unique<QPDF>();
            source->setSuppressWarnings(true);
            source->processFile(QFile::encodeName(part.path).constData());
            append(target, *source, part, nodes);
            sources.push_back(std::move(source));
        }
        addOutline(target, nodes);
        QPDFWriter writer(target, QFile::encodeName(out).constData());
        writer.setDecodeLevel(qpdf_dl_none);
        writer.write();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace

PdfCombiner::PdfCombiner(const QString &folder)
    : m_dir(std::make_unique<QTemporaryDir>(folder + QStringLiteral("/tavimark-combine-XXXXXX")))
{
}

PdfCombiner::~PdfCombiner() = default;

bool PdfCombiner::usable() const
{
    return m_dir->isValid();
}

bool PdfCombiner::add(const QByteArray &pdf, const QString &title, bool evenPages)
{
    const int pages = pdfPageCount(pdf);
    if (pages == 0 || !usable())
        return false;
    QFile part(partPath(*m_dir, m_parts + 1));
    if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly) || part.write(pdf) != pdf.size() || !part.flush())
        return false;
    // What a part needs besides its bytes is kept beside it, so that memory
    // holds nothing of the documents added.
    QFile facts(partPath(*m_dir, m_parts + 1) + QStringLiteral(".title"));
    if (!facts.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    facts.write((evenPages ? "1" : "0") + title.toUtf8());
    ++m_parts;
    // A blank page is counted once another document follows.
    m_pages += m_lastBlank + pages;
    m_lastBlank = evenPages && pages % 2 == 1 ? 1 : 0;
    return true;
}

std::optional<QString> PdfCombiner::combine()
{
    if (m_parts == 0 || !usable())
        return std::nullopt;
    std::vector<Part> batches;
    for (int first = 1; first <= m_parts; first += Batch) {
        std::vector<Part> parts;
        for (int number = first; number < first + Batch && number <= m_parts; ++number) {
            QFile facts(partPath(*m_dir, number) + QStringLiteral(".title"));
            if (!facts.open(QIODevice::ReadOnly))
                return std::nullopt;
            const QByteArray text = facts.read(64 * 1024);
            // No sheet follows the last document: it needs no blank page.
            const bool even = text.startsWith('1') && number < m_parts;
            parts.push_back({partPath(*m_dir, number), QString::fromUtf8(text.mid(1)), even, true});
        }
        const QString batch = m_dir->filePath(QStringLiteral("batch-%1.pdf").arg(int(batches.size()) + 1));
        if (!merge(parts, batch))
            return std::nullopt;
        for (const Part &part : parts) {
            QFile::remove(part.path);
            QFile::remove(part.path + QStringLiteral(".title"));
        }
        batches.push_back({batch, {}, false, false});
    }
    if (batches.size() == 1)
        return batches.front().path;
    const QString result = m_dir->filePath(QStringLiteral("combined.pdf"));
    if (!merge(batches, result))
        return std::nullopt;
    return result;
}

} // namespace printing

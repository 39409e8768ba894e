// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdfdocument.h"
#include "pdfbytes.h"
#include "pdfupdate.h"
#include "outline.h"

// qpdf reads whatever the engine writes (compressed object streams and
// cross-reference streams, files it has to repair) and writes a sound PDF
// again; the engine's streams are copied as they are, so every page stays
// text.
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFNameTreeObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <cmath>
#include <exception>
#include <map>
#include <set>

namespace printing {

namespace {

using outline::linkOutline;
using outline::OutlineNode;
using outline::outlineItemText;
using outline::outlineRootText;

// The PDF of the forms Qt drew, and each of its pages as a form. qpdf reads
// it where it lies, also while the result is written, so the bytes live as
// long as the document.
struct Drawn {
    QByteArray bytes;
    QPDF pdf;
    std::vector<QPDFObjectHandle> forms;
};

QByteArray reference(int object)
{
    return QByteArray::number(object) + " 0 R";
}

QByteArray entry(const std::string &key, QPDFObjectHandle value)
{
    return QByteArray::fromStdString(QPDFObjectHandle::newName(key).unparse() + ' ' + value.unparse()) + '\n';
}

QPDFObjectHandle resourcesOf(QPDFPageObjectHelper &page)
{
    QPDFObjectHandle resources = page.getAttribute("/Resources", false);
    return resources.isDictionary() ? resources : QPDFObjectHandle::newDictionary();
}

QPDFObjectHandle formBox(const QSizeF &size)
{
    return QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(0, 0, size.width(), size.height()));
}

// A form of the update, under the name a page's resources give it.
struct NamedForm {
    std::string name;
    int object = 0;
};

// A page's dictionary as the update states it: its own entries and the
// resources it inherited, the forms among them, and its drawing between
// the streams `opening` and `closing`.
QByteArray pageWithForms(QPDFPageObjectHelper &page, const std::vector<NamedForm> &forms, int opening, int closing)
{
    QPDFObjectHandle dictionary = page.getObjectHandle();
    QPDFObjectHandle resources = resourcesOf(page);
    QByteArray text = "<<\n";
    for (const std::string &key : dictionary.getKeys()) {
        if (key != "/Resources" && key != "/Contents")
            text += entry(key, dictionary.getKey(key));
    }
    text += "/Resources <<\n";
    for (const std::string &key : resources.getKeys()) {
        if (key != "/XObject")
            text += entry(key, resources.getKey(key));
    }
    text += "/XObject <<\n";
    if (QPDFObjectHandle xobjects = resources.getKey("/XObject"); xobjects.isDictionary()) {
        for (const std::string &key : xobjects.getKeys())
            text += entry(key, xobjects.getKey(key));
    }
    for (const NamedForm &form : forms)
        text += QByteArray::fromStdString(form.name) + ' ' + reference(form.object) + '\n';
    text += ">>\n>>\n/Contents [" + reference(opening);
    QPDFObjectHandle contents = dictionary.getKey("/Contents");
    const std::vector<QPDFObjectHandle> streams =
        contents.isArray() ? contents.getArrayAsVector() : std::vector<QPDFObjectHandle>{contents};
    for (QPDFObjectHandle stream : streams) {
        if (!stream.isNull())
            text += ' ' + QByteArray::fromStdString(stream.unparse());
    }
    return text + ' ' + reference(closing) + "]\n>>";
}

// Makes a change to a page's /XObject resources touch that page alone, even
// when the engine shares one resource dictionary between pages.
QPDFObjectHandle ownXObjects(QPDFPageObjectHelper &page)
{
    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    if (!resources.isDictionary()) {
        resources = QPDFObjectHandle::newDictionary();
        page.getObjectHandle().replaceKey("/Resources", resources);
    }
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    xobjects = xobjects.isDictionary() ? xobjects.shallowCopy() : QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    return resources;
}

void layFormOver(QPDF &target, QPDFPageObjectHelper &page, QPDFObjectHandle form)
{
    QPDFObjectHandle resources = ownXObjects(page);
    int suffix = 0;
    const std::string name = resources.getUniqueResourceName("/Fx", suffix);
    resources.getKey("/XObject").replaceKey(name, form);
    // Turned and scaled back when the page itself is rotated or uses a user
    // unit, so the forms stand upright where the reader sees the page.
    const std::string placement =
        page.placeFormXObject(form, name, page.getTrimBox().getArrayAsRectangle(), true, true, true);
    // The page's own drawing goes inside its own q ... Q, so no
    // transformation or colour it leaves set can move or tint the forms.
    page.addPageContents(target.newStream("q\n"), true);
    page.addPageContents(target.newStream("\nQ\n" + placement), false);
}

bool isLoneSurrogate(const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return false;
}

} // namespace

QString bookmarkText(const QString &text)
{
    QString shown;
    shown.reserve(std::min(text.size(), MostBookmarkCharacters + 1));
    bool space = false;
    for (qsizetype i = 0; i < text.size() && shown.size() < MostBookmarkCharacters; ++i) {
        const QChar c = text.at(i);
        // A character the engine could not pass on arrives as U+FFFD, and
        // shows nothing a reader could use either.
        if (c.isSpace() || c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter
            || isLoneSurrogate(text, i)) {
            space = !shown.isEmpty();
            continue;
        }
        if (space)
            shown += u' ';
        space = false;
        shown += c;
    }
    // A pair cut in two by the bound.
    if (!shown.isEmpty() && shown.back().isHighSurrogate())
        shown.chop(1);
    return shown;
}

struct PdfDocument::Impl {
    QByteArray original;
    QPDF pdf;
    std::vector<QPDFPageObjectHelper> pages;
    std::vector<bool> kept;
    bool pagesLeftOut = false;
    std::optional<PageOverlay> overlay;
    std::unique_ptr<Drawn> drawn;
    std::vector<Bookmark> bookmarks;
    std::optional<std::map<QByteArray, QPDFObjectHandle>> destinations;

    bool changed() const { return pagesLeftOut || overlay || !bookmarks.empty(); }
    std::optional<QSizeF> viewedSize(QPDFPageObjectHelper &page) const;
    const std::map<QByteArray, QPDFObjectHandle> &namedDestinations();
    std::optional<int> pageIndex(QPDFObjectHandle page) const;
    std::vector<OutlineNode> outlineNodes();
    std::optional<QByteArray> appended();
    QByteArray rewritten();
    bool readDrawn();
};

std::optional<QSizeF> PdfDocument::Impl::viewedSize(QPDFPageObjectHelper &page) const
{
    QPDFObjectHandle box = page.getTrimBox();
    if (!box.isRectangle())
        return std::nullopt;
    const QPDFObjectHandle::Rectangle rect = box.getArrayAsRectangle();
    QPDFObjectHandle unitKey = page.getObjectHandle().getKey("/UserUnit");
    const double unit = unitKey.isNumber() && unitKey.getNumericValue() > 0 ? unitKey.getNumericValue() : 1.0;
    const double width = std::abs(rect.urx - rect.llx) * unit;
    const double height = std::abs(rect.ury - rect.lly) * unit;
    if (!(width >= 1 && height >= 1))
        return std::nullopt;
    QPDFObjectHandle rotateKey = page.getAttribute("/Rotate", false);
    const long long rotate = rotateKey.isInteger() ? rotateKey.getIntValue() : 0;
    const bool sideways = ((rotate % 180) + 180) % 180 == 90;
    return sideways ? QSizeF(height, width) : QSizeF(width, height);
}

// The document's named destinations, by name, whether the catalog keeps them
// in its /Dests dictionary or in the name tree under /Names.
const std::map<QByteArray, QPDFObjectHandle> &PdfDocument::Impl::namedDestinations()
{
    if (destinations)
        return *destinations;
    destinations.emplace();
    QPDFObjectHandle root = pdf.getRoot();
    if (QPDFObjectHandle dests = root.getKey("/Dests"); dests.isDictionary()) {
        for (const std::string &key : dests.getKeys())
            destinations->emplace(QByteArray::fromStdString(key.substr(1)), dests.getKey(key));
    }
    QPDFObjectHandle names = root.getKey("/Names");
    if (names.isDictionary() && names.getKey("/Dests").isDictionary()) {
        QPDFNameTreeObjectHelper tree(names.getKey("/Dests"), pdf);
        for (auto item : tree)
            destinations->emplace(QByteArray::fromStdString(item.first), item.second);
    }
    return *destinations;
}

std::optional<int> PdfDocument::Impl::pageIndex(QPDFObjectHandle page) const
{
    if (!page.isIndirect())
        return std::nullopt;
    const QPDFObjGen id = page.getObjGen();
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].getObjectHandle().getObjGen() == id)
            return int(i);
    }
    return std::nullopt;
}

// The bookmarks that point at a kept page, as outline items, each pointing
// straight at its page, so that the outline holds however the file is
// combined with others later.
std::vector<OutlineNode> PdfDocument::Impl::outlineNodes()
{
    const std::map<QByteArray, QPDFObjectHandle> &named = namedDestinations();
    std::map<QPDFObjGen, int> pageOf;
    for (size_t i = 0; i < pages.size(); ++i)
        pageOf.emplace(pages[i].getObjectHandle().getObjGen(), int(i));
    std::vector<OutlineNode> nodes;
    for (const Bookmark &bookmark : bookmarks) {
        if (int(nodes.size()) >= MostBookmarks)
            break;
        const auto found = named.find(bookmark.destination);
        if (found == named.end())
            continue;
        QPDFObjectHandle target = found->second;
        if (target.isDictionary())
            target = target.getKey("/D");
        if (!target.isArray() || target.getArrayNItems() < 2 || !target.getArrayItem(0).isIndirect())
            continue;
        const auto page = pageOf.find(target.getArrayItem(0).getObjGen());
        if (page == pageOf.end() || !kept[size_t(page->second)])
            continue;
        OutlineNode node;
        node.title = QByteArray::fromStdString(
            QPDFObjectHandle::newUnicodeString(bookmarkText(bookmark.title).toStdString()).unparse());
        node.destination = QByteArray::fromStdString(target.unparse());
        node.level = std::clamp(bookmark.level, 1, 64);
        nodes.push_back(std::move(node));
    }
    linkOutline(nodes);
    return nodes;
}

bool PdfDocument::Impl::readDrawn()
{
    drawn = std::make_unique<Drawn>();
    drawn->bytes = overlay->drawn;
    drawn->pdf.setSuppressWarnings(true);
    drawn->pdf.processMemoryFile("drawn", drawn->bytes.constData(), size_t(drawn->bytes.size()));
    if (overlay->trimFont) {
        for (QPDFObjectHandle object : drawn->pdf.getAllObjects()) {
            if (!object.isDictionary() || !object.getKey("/Type").isNameAndEquals("/FontDescriptor"))
                continue;
            QPDFObjectHandle file = object.getKey("/FontFile2");
            if (!file.isStream())
                continue;
            const std::optional<QByteArray> font = overlay->trimFont(bytesOf(*file.getStreamData()));
            if (!font)
                continue;
            file.replaceStreamData(deflated(*font).toStdString(), QPDFObjectHandle::newName("/FlateDecode"),
                                   QPDFObjectHandle::newNull());
            file.getDict().replaceKey("/Length1", QPDFObjectHandle::newInteger(font->size()));
        }
    }
    std::vector<QPDFPageObjectHelper> drawnPages = QPDFPageDocumentHelper(drawn->pdf).getAllPages();
    if (drawnPages.size() != pages.size())
        return false;
    for (QPDFPageObjectHelper &page : drawnPages)
        drawn->forms.push_back(page.getFormXObjectForPage());
    return true;
}

// The engine's PDF as it came, with the forms over its pages and the outline
// in an appended update. Nothing when the file cannot take one.
std::optional<QByteArray> PdfDocument::Impl::appended()
{
    std::optional<PdfUpdate> update = PdfUpdate::of(original, pdf);
    if (!update)
        return std::nullopt;
    if (overlay) {
        const int font = update->newObject();
        update->set(font, overlay->font);
        const int resources = update->newObject();
        update->set(resources, "<< /Font << " + overlay->fontName + ' ' + reference(font) + " >> >>");
        const int opening = update->newObject();
        update->set(opening, PdfUpdate::stream({}, "q\n"));
        // Where a form goes depends on its box alone. A stand-in made in the
        // engine's PDF would make qpdf look through all of that PDF's objects.
        QPDF scratch;
        scratch.emptyPDF();
        QPDFObjectHandle placed = QPDFObjectHandle::newStream(&scratch);
        for (size_t i = 0; i < pages.size(); ++i) {
            const std::optional<QSizeF> size = viewedSize(pages[i]);
            if (!size)
                return std::nullopt;
            const QPDFObjectHandle::Rectangle trimBox = pages[i].getTrimBox().getArrayAsRectangle();
            int suffix = 0;
            std::vector<NamedForm> forms;
            const int standard = update->newObject();
            update->set(standard, PdfUpdate::stream("/Type /XObject /Subtype /Form /BBox "
                                                        + QByteArray::fromStdString(formBox(*size).unparse())
                                                        + " /Resources " + reference(resources),
                                                    overlay->contents[i]));
            forms.push_back({resourcesOf(pages[i]).getUniqueResourceName("/Fx", suffix), standard});
            placed.getDict().replaceKey("/BBox", formBox(*size));
            QByteArray placements = QByteArray::fromStdString(
                pages[i].placeFormXObject(placed, forms.back().name, trimBox, true, true, true));
            if (drawn) {
                ++suffix;
                forms.push_back(
                    {resourcesOf(pages[i]).getUniqueResourceName("/Fx", suffix), update->copied(drawn->forms[i])});
                placements += QByteArray::fromStdString(
                    pages[i].placeFormXObject(drawn->forms[i], forms.back().name, trimBox, true, true, true));
            }
            const int closing = update->newObject();
            update->set(closing, PdfUpdate::stream({}, "\nQ\n" + placements));
            if (!update->replace(pages[i].getObjectHandle().getObjGen(),
                                 pageWithForms(pages[i], forms, opening, closing)))
                return std::nullopt;
        }
    }
    const std::vector<OutlineNode> nodes = bookmarks.empty() ? std::vector<OutlineNode>{} : outlineNodes();
    if (!nodes.empty()) {
        QPDFObjectHandle root = pdf.getRoot();
        if (!root.isIndirect())
            return std::nullopt;
        const int outline = update->newObject();
        std::vector<int> number;
        for (size_t i = 0; i < nodes.size(); ++i)
            number.push_back(update->newObject());
        update->set(outline, outlineRootText(nodes, number));
        for (size_t i = 0; i < nodes.size(); ++i)
            update->set(number[i], outlineItemText(nodes, i, number, outline));
        QByteArray catalog = "<<\n";
        for (const std::string &key : root.getKeys()) {
            if (key != "/Outlines" && key != "/PageMode")
                catalog += entry(key, root.getKey(key));
        }
        catalog += "/Outlines " + reference(outline) + "\n/PageMode /UseOutlines\n>>";
        if (!update->replace(root.getObjGen(), catalog))
            return std::nullopt;
    }
    return update->written();
}

// The document read and written anew with every change, for pages left
// out or a file an update cannot extend.
QByteArray PdfDocument::Impl::rewritten()
{
    if (overlay) {
        QPDFObjectHandle font = pdf.makeIndirectObject(QPDFObjectHandle::parse(overlay->font.toStdString()));
        QPDFObjectHandle resources = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        resources.replaceKey("/Font", QPDFObjectHandle::newDictionary({{overlay->fontName.toStdString(), font}}));
        for (size_t i = 0; i < pages.size(); ++i) {
            if (!kept[i])
                continue;
            const std::optional<QSizeF> size = viewedSize(pages[i]);
            if (!size)
                continue;
            QPDFObjectHandle form = pdf.newStream(overlay->contents[i].toStdString());
            QPDFObjectHandle dictionary = form.getDict();
            dictionary.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
            dictionary.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
            dictionary.replaceKey("/BBox", formBox(*size));
            dictionary.replaceKey("/Resources", resources);
            layFormOver(pdf, pages[i], form);
            if (drawn)
                layFormOver(pdf, pages[i], pdf.copyForeignObject(drawn->forms[i]));
        }
    }
    const std::vector<OutlineNode> nodes = bookmarks.empty() ? std::vector<OutlineNode>{} : outlineNodes();
    if (pagesLeftOut) {
        QPDFPageDocumentHelper tree(pdf);
        for (size_t i = 0; i < pages.size(); ++i) {
            if (!kept[i])
                tree.removePage(pages[i]);
        }
    }
    if (!nodes.empty()) {
        std::vector<int> number;
        QPDFObjectHandle outline = pdf.makeIndirectObject(QPDFObjectHandle::newNull());
        std::vector<QPDFObjectHandle> items;
        for (size_t i = 0; i < nodes.size(); ++i) {
            items.push_back(pdf.makeIndirectObject(QPDFObjectHandle::newNull()));
            number.push_back(items.back().getObjGen().getObj());
        }
        const int root = outline.getObjGen().getObj();
        pdf.replaceObject(outline.getObjGen(), QPDFObjectHandle::parse(&pdf, outlineRootText(nodes, number).toStdString()));
        for (size_t i = 0; i < nodes.size(); ++i)
            pdf.replaceObject(items[i].getObjGen(),
                              QPDFObjectHandle::parse(&pdf, outlineItemText(nodes, i, number, root).toStdString()));
        pdf.getRoot().replaceKey("/Outlines", outline);
        pdf.getRoot().replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
    }
    return pdfBytes(pdf);
}

PdfDocument::PdfDocument(std::unique_ptr<Impl> impl)
    : m_impl(std::move(impl))
{
}

PdfDocument::PdfDocument(PdfDocument &&) noexcept = default;
PdfDocument &PdfDocument::operator=(PdfDocument &&) noexcept = default;
PdfDocument::~PdfDocument() = default;

std::optional<PdfDocument> PdfDocument::read(const QByteArray &pdf)
{
    try {
        auto impl = std::make_unique<Impl>();
        // Shared, not copied: qpdf reads the bytes where they lie.
        impl->original = pdf;
        impl->pdf.setSuppressWarnings(true);
        impl->pdf.processMemoryFile("document", impl->original.constData(), size_t(impl->original.size()));
        impl->pages = QPDFPageDocumentHelper(impl->pdf).getAllPages();
        if (impl->pages.empty())
            return std::nullopt;
        impl->kept.assign(impl->pages.size(), true);
        return PdfDocument(std::move(impl));
    } catch (const std::exception &) {
        // qpdf reports a file it cannot read, or repair, by throwing.
        return std::nullopt;
    }
}

int PdfDocument::pageCount() const
{
    return int(m_impl->pages.size());
}

int PdfDocument::keptPageCount() const
{
    return int(std::count(m_impl->kept.begin(), m_impl->kept.end(), true));
}

std::optional<std::vector<QSizeF>> PdfDocument::viewedPageSizes() const
{
    try {
        std::vector<QSizeF> sizes;
        for (QPDFPageObjectHelper &page : m_impl->pages) {
            const std::optional<QSizeF> size = m_impl->viewedSize(page);
            if (!size)
                return std::nullopt;
            sizes.push_back(*size);
        }
        return sizes;
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

bool PdfDocument::layOver(PageOverlay overlay)
{
    if (overlay.contents.size() != m_impl->pages.size())
        return false;
    m_impl->overlay = std::move(overlay);
    if (m_impl->overlay->drawn.isEmpty())
        return true;
    try {
        if (m_impl->readDrawn())
            return true;
    } catch (const std::exception &) {
    }
    m_impl->overlay.reset();
    m_impl->drawn.reset();
    return false;
}

void PdfDocument::keepPages(const std::function<bool(int)> &keep)
{
    for (size_t i = 0; i < m_impl->kept.size(); ++i) {
        m_impl->kept[i] = m_impl->kept[i] && keep(int(i) + 1);
        m_impl->pagesLeftOut = m_impl->pagesLeftOut || !m_impl->kept[i];
    }
}

void PdfDocument::setBookmarks(std::vector<Bookmark> bookmarks)
{
    m_impl->bookmarks = std::move(bookmarks);
}

std::optional<QByteArray> PdfDocument::bytes()
{
    if (!m_impl->changed())
        return m_impl->original;
    try {
        if (!m_impl->pagesLeftOut) {
            if (std::optional<QByteArray> appended = m_impl->appended())
                return appended;
        }
        return m_impl->rewritten();
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

std::optional<PdfDocument::Place> PdfDocument::destination(const QByteArray &name) const
{
    try {
        const auto &named = m_impl->namedDestinations();
        const auto found = named.find(name);
        if (found == named.end())
            return std::nullopt;
        QPDFObjectHandle target = found->second;
        if (target.isDictionary())
            target = target.getKey("/D");
        if (!target.isArray() || target.getArrayNItems() < 1)
            return std::nullopt;
        const std::optional<int> page = m_impl->pageIndex(target.getArrayItem(0));
        if (!page)
            return std::nullopt;
        double fromTop = 0;
        if (target.getArrayNItems() >= 4 && target.getArrayItem(3).isNumber()) {
            const QPDFObjectHandle::Rectangle box = m_impl->pages[size_t(*page)].getMediaBox().getArrayAsRectangle();
            fromTop = box.ury - target.getArrayItem(3).getNumericValue();
        }
        return Place{*page, fromTop};
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

std::vector<PdfDocument::OutlineItem> PdfDocument::outline() const
{
    std::vector<OutlineItem> items;
    try {
        QPDFObjectHandle outlines = m_impl->pdf.getRoot().getKey("/Outlines");
        if (!outlines.isDictionary())
            return items;
        // Depth-first without recursion, bounded however the file links its
        // items (a loop included).
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
            int page = -1;
            if (dest.isArray() && dest.getArrayNItems() > 0)
                page = m_impl->pageIndex(dest.getArrayItem(0)).value_or(-1);
            QPDFObjectHandle title = item.getKey("/Title");
            items.push_back({level, title.isString() ? QString::fromStdString(title.getUTF8Value()) : QString(), page});
            pending.emplace_back(item.getKey("/Next"), level);
            pending.emplace_back(item.getKey("/First"), level + 1);
        }
    } catch (const std::exception &) {
    }
    return items;
}

int pdfPageCount(const QByteArray &pdf)
{
    const std::optional<PdfDocument> document = PdfDocument::read(pdf);
    return document ? document->pageCount() : 0;
}

} // namespace printing

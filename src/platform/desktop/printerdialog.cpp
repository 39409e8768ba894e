// SPDX-License-Identifier: GPL-3.0-or-later
#include "printerdialog.h"

#include <QDialogButtonBox>
#include <QPageRanges>
#include <QComboBox>
#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdio>

using core::MaxCopies;
namespace option = core::option;
using core::paperNamed;
using core::PrinterSettings;
using core::PrinterSettingsEditor;

namespace platform {

namespace {

const QString OneSided = QStringLiteral("one-sided");
const QString LongEdge = QStringLiteral("two-sided-long-edge");
const QString ShortEdge = QStringLiteral("two-sided-short-edge");
const QString Monochrome = QStringLiteral("monochrome");
const QString Colour = QStringLiteral("color");
const QString Landscape = QStringLiteral("4");

// "Automatic" two-sided printing is the long edge wherever a printer can
// turn the sheet at all.
QString sidesName(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexNone:
        return OneSided;
    case QPrinter::DuplexAuto:
    case QPrinter::DuplexLongSide:
        return LongEdge;
    case QPrinter::DuplexShortSide:
        return ShortEdge;
    }
    return OneSided;
}

bool offersSides(const PrinterDefaults &queue, const QString &sides)
{
    return std::any_of(queue.duplexModes.cbegin(), queue.duplexModes.cend(),
                       [&sides](QPrinter::DuplexMode mode) { return sidesName(mode) == sides; });
}

bool offersPaper(const PrinterDefaults &queue, const QPageSize &paper)
{
    return std::any_of(queue.pageSizes.cbegin(), queue.pageSizes.cend(),
                       [&paper](const QPageSize &offered) { return offered.isEquivalentTo(paper); });
}

std::optional<QPrinter::DuplexMode> duplexNamed(const QString &sides)
{
    if (sides == OneSided)
        return QPrinter::DuplexNone;
    if (sides == LongEdge)
        return QPrinter::DuplexLongSide;
    if (sides == ShortEdge)
        return QPrinter::DuplexShortSide;
    return std::nullopt;
}

QString colourName(QPrinter::ColorMode mode)
{
    return mode == QPrinter::Color ? Colour : Monochrome;
}

// Paper the size tables know by name goes by that name ("A4"); any other
// size by a PWG name that says its measures, which paperNamed() reads back.
QString mediaName(const QPageSize &paper)
{
    if (paper.id() != QPageSize::Custom)
        return QPageSize::key(paper.id());
    const QSizeF size = paper.size(QPageSize::Millimeter);
    const QString measures = QString::number(size.width()) + u'x' + QString::number(size.height()) + u"mm";
    return u"custom_" + measures + u'_' + measures;
}

// "3-7", or "5", as one range the dialog can show.
std::optional<QPageRanges::Range> singleRange(const QString &ranges)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)(?:-(\\d+))?$"));
    const QRegularExpressionMatch match = pattern.match(ranges);
    if (!match.hasMatch())
        return std::nullopt;
    const int from = match.captured(1).toInt();
    const int to = match.hasCaptured(2) ? match.captured(2).toInt() : from;
    if (from < 1 || to < from)
        return std::nullopt;
    return QPageRanges::Range{from, to};
}

// The CUPS options the dialog hands the print engine, as name and value in
// turn; nothing when the engine does not know the key, or answers with
// something else than such a list.
std::optional<QStringList> cupsOptions(const QPrinter &printer, QPrintEngine::PrintEnginePropertyKey key)
{
    const QVariant options = printer.printEngine()->property(key);
    if (options.metaType() != QMetaType::fromType<QStringList>())
        return std::nullopt;
    return options.toStringList();
}

// A page list typed in as "2-3,5" goes among the CUPS options rather than
// into the printer's own page ranges.
QPageRanges cupsPageRanges(const QPrinter &printer, QPrintEngine::PrintEnginePropertyKey key)
{
    const QStringList options = cupsOptions(printer, key).value_or(QStringList());
    QPageRanges ranges;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        if (options.at(i) != u"page-ranges")
            continue;
        for (const QString &part : options.at(i + 1).split(u',', Qt::SkipEmptyParts)) {
            if (const std::optional<QPageRanges::Range> range = singleRange(part.trimmed()))
                ranges.addRange(range->from, range->to);
        }
    }
    return ranges;
}

QString rangesText(const QPageRanges &ranges)
{
    QStringList parts;
    for (const QPageRanges::Range &range : ranges.toRangeList())
        parts << QString::number(range.from) + u'-' + QString::number(range.to);
    return parts.join(u',');
}

void applyPageRange(const QString &ranges, QPrinter &printer)
{
    if (const auto range = singleRange(ranges)) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(range->from, range->to);
    }
}

// Far past the pages of any document printed here.
constexpr int MaxChosenPage = 99'999;

// The dialog lists every queue; the default one stands out, in bold.
void markDefaultPrinter(QPrintDialog &dialog, const QString &listName)
{
    auto *printers = dialog.findChild<QComboBox *>(listName);
    const int index = printers ? printers->findText(QPrinterInfo::defaultPrinterName()) : -1;
    if (index < 0)
        return;
    QFont bold = printers->font();
    bold.setBold(true);
    printers->setItemData(index, bold, Qt::FontRole);
    printers->setItemData(index, QCoreApplication::translate("platform::PrinterDialog", "The default printer"),
                          Qt::ToolTipRole);
}

// Choices the settings do not keep (which pages of a sheet, their order,
// collating) are not offered, rather than offered and then lost.
void hideWhatIsNotKept(QPrintDialog &dialog, const QtDialogParts &parts)
{
    // The free-form page list refuses every list in this version of the
    // dialog ("does not follow the correct syntax"); a range from one page
    // to another is offered instead.
    for (const QString &name : parts.notKept) {
        if (auto *widget = dialog.findChild<QWidget *>(name))
            widget->hide();
    }
    // The dialog shows the page set again when it likes; all pages is then
    // the one choice left.
    if (auto *pageSet = dialog.findChild<QComboBox *>(parts.pageSet)) {
        while (pageSet->count() > 1)
            pageSet->removeItem(pageSet->count() - 1);
    }
}

// Every page keeps the margins its headings are drawn in, so the margins
// the printer's properties offer would be chosen and then lost. The
// properties are a window of their own, made anew for each printer chosen:
// their margins are hidden whenever one is shown while the dialog is open.
class MarginsHidden final : public QObject {
public:
    explicit MarginsHidden(QString marginName) : m_marginName(std::move(marginName))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~MarginsHidden() override { QCoreApplication::instance()->removeEventFilter(this); }
    MarginsHidden(const MarginsHidden &) = delete;
    MarginsHidden &operator=(const MarginsHidden &) = delete;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = event->type() == QEvent::Show ? qobject_cast<QWidget *>(watched) : nullptr;
        if (window && window->isWindow()) {
            if (auto *margin = window->findChild<QWidget *>(m_marginName))
                margin->parentWidget()->hide();  // the box of all four, with its title
        }
        return false;
    }

private:
    const QString m_marginName;
};

void sayOnStandardError(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stderr);
    std::fflush(stderr);
}

class QtPrinterDialog final : public PrinterSettingsEditor {
public:
    QtPrinterDialog(QtDialogParts parts, std::function<void(const QString &)> notice)
        : m_parts(std::move(parts))
        , m_notice(notice ? std::move(notice) : sayOnStandardError)
    {
    }

    std::optional<PrinterSettings> edit(QWidget *owner, const PrinterSettings &current) override
    {
        QPrinter printer;
        applySettings(current, printer);
        QPrintDialog dialog(&printer, owner);
        dialog.setWindowTitle(QCoreApplication::translate("platform::PrinterDialog", "Printer Settings"));
        // Runs print on queues; a file would be no printer setting.
        dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintShowPageSize);
        // No document is at hand: any page a document may have can be chosen.
        dialog.setMinMax(1, MaxChosenPage);
        // The dialog only chooses: OK keeps the choice, and nothing prints.
        if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
            if (QPushButton *accept = buttons->button(QDialogButtonBox::Ok))
                accept->setText(QCoreApplication::translate("platform::PrinterDialog", "OK"));
        }
        noteMissing(missingParts(dialog, m_parts));
        markDefaultPrinter(dialog, m_parts.printerList);
        hideWhatIsNotKept(dialog, m_parts);
        const MarginsHidden marginsHidden(m_parts.margins);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return settingsFrom(choiceOf(printer, m_parts), defaultsOf(printer.printerName()));
    }

private:
    // Once: the dialog is the same every time it opens.
    void noteMissing(const QStringList &missing)
    {
        if (missing.isEmpty() || m_noticed)
            return;
        m_noticed = true;
        m_notice(QCoreApplication::translate("platform::PrinterDialog",
                                             "tavimark: Qt's print dialog has no %1; the printer settings are edited "
                                             "without them")
                     .arg(missing.join(QStringLiteral(", "))));
    }

    const QtDialogParts m_parts;
    const std::function<void(const QString &)> m_notice;
    bool m_noticed = false;
};

} // namespace

PrinterDefaults defaultsOf(const QString &printerName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull())
        return {};
    return {info.defaultDuplexMode(),     info.defaultPageSize(),     info.defaultColorMode(),
            info.supportedDuplexModes(), info.supportedPageSizes(), info.supportedColorModes()};
}

void applySettings(const PrinterSettings &settings, QPrinter &printer)
{
    // A queue brings its own paper and modes, so it comes first.
    if (!settings.printer.isEmpty())
        printer.setPrinterName(settings.printer);
    printer.setCopyCount(settings.copies);
    if (const auto duplex = duplexNamed(settings.value(option::Sides)))
        printer.setDuplex(*duplex);
    if (const QPageSize paper = paperNamed(settings.value(option::Media)); paper.isValid())
        printer.setPageSize(paper);
    if (const QString orientation = settings.value(option::Orientation); !orientation.isEmpty())
        printer.setPageOrientation(orientation == Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (const QString colour = settings.value(option::ColorMode); colour == Colour || colour == Monochrome)
        printer.setColorMode(colour == Colour ? QPrinter::Color : QPrinter::GrayScale);
    applyPageRange(settings.value(option::PageRanges), printer);
}

QStringList missingParts(const QPrintDialog &dialog, const QtDialogParts &parts)
{
    QStringList missing;
    const auto lacks = [&](const QString &name, bool found) {
        if (!found && !missing.contains(u'"' + name + u'"'))
            missing << u'"' + name + u'"';
    };
    lacks(parts.printerList, dialog.findChild<QComboBox *>(parts.printerList));
    lacks(parts.pageSet, dialog.findChild<QComboBox *>(parts.pageSet));
    for (const QString &name : parts.notKept)
        lacks(name, dialog.findChild<QWidget *>(name));
    const QPrinter &printer = *dialog.printer();
    if (printer.outputFormat() == QPrinter::NativeFormat && !cupsOptions(printer, parts.cupsOptions))
        missing << u"print engine key 0x" + QString::number(int(parts.cupsOptions), 16);
    return missing;
}

PrinterChoice choiceOf(const QPrinter &printer, const QtDialogParts &parts)
{
    PrinterChoice choice;
    choice.printer = printer.printerName();
    choice.copies = printer.copyCount();
    choice.duplex = printer.duplex();
    choice.pageSize = printer.pageLayout().pageSize();
    choice.orientation = printer.pageLayout().orientation();
    choice.colorMode = printer.colorMode();
    if (printer.printRange() == QPrinter::PageRange)
        choice.pages = printer.pageRanges();
    if (choice.pages.isEmpty())
        choice.pages = cupsPageRanges(printer, parts.cupsOptions);
    return choice;
}

PrinterSettings settingsFrom(const PrinterChoice &choice, const PrinterDefaults &defaults)
{
    PrinterSettings settings;
    settings.printer = choice.printer;
    settings.copies = std::clamp(choice.copies, 1, MaxCopies);
    if (const QString sides = sidesName(choice.duplex);
        sides != sidesName(defaults.duplex) && offersSides(defaults, sides))
        settings.set(option::Sides, sides);
    if (!choice.pageSize.isEquivalentTo(defaults.pageSize) && offersPaper(defaults, choice.pageSize))
        settings.set(option::Media, mediaName(choice.pageSize));
    if (choice.orientation == QPageLayout::Landscape)
        settings.set(option::Orientation, Landscape);
    if (choice.colorMode != defaults.colorMode && defaults.colorModes.contains(choice.colorMode))
        settings.set(option::ColorMode, colourName(choice.colorMode));
    if (!choice.pages.isEmpty())
        settings.set(option::PageRanges, rangesText(choice.pages));
    return settings;
}

std::unique_ptr<PrinterSettingsEditor> makePrinterDialog(QtDialogParts parts,
                                                         std::function<void(const QString &)> notice)
{
    return std::make_unique<QtPrinterDialog>(std::move(parts), std::move(notice));
}

} // namespace platform

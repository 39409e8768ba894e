// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/desktop.h"
#include "core/printersettings.h"

#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>

#include <functional>
#include <memory>

class QPrintDialog;

// The printer settings dialog and the two ways across between the program's
// settings and the QPrinter the dialog edits. Only the dialog itself needs a
// screen; the mappings can be tried without one.
namespace platform {

// What a queue does when a job says nothing, and what it offers at all: the
// settings store only a choice the queue offers that differs from its
// default, so an untouched dialog adds no option a queue without a driver
// would refuse. (The dialog shows such a queue as colour on A4 paper all
// the same.)
struct PrinterDefaults {
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPageSize pageSize;  // invalid when the queue names none
    QPrinter::ColorMode colorMode = QPrinter::GrayScale;
    QList<QPrinter::DuplexMode> duplexModes;
    QList<QPageSize> pageSizes;
    QList<QPrinter::ColorMode> colorModes;
};

// The queue's own defaults and offers, as the print system reports them.
PrinterDefaults defaultsOf(const QString &printerName);

// What the dialog leaves in its QPrinter, in the terms the settings need.
struct PrinterChoice {
    QString printer;
    int copies = 1;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPageSize pageSize;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPrinter::ColorMode colorMode = QPrinter::GrayScale;
    QPageRanges pages;  // empty: all pages
};

// What Qt's own print dialog has that Qt keeps to itself, and the editor
// uses all the same: widgets found by their internal object names, and the
// print engine's key for the CUPS options the dialog sets. A Qt update may
// rename or drop any of them without a word. The editor then does without
// that part: the dialog still edits every setting through Qt's public
// interface, it only shows more than the settings keep, or marks no default
// printer, or misses a page list given among the CUPS options.
struct QtDialogParts {
    // The list of queues, where the default one is marked (a QComboBox).
    QString printerList = QStringLiteral("printers");
    // Which pages of a sheet (a QComboBox), cut down to all of them
    // whenever the dialog shows it again.
    QString pageSet = QStringLiteral("pageSetCombo");
    // Choices the settings do not keep, hidden rather than offered and
    // then lost.
    QStringList notKept{QStringLiteral("pageSetLabel"),     QStringLiteral("pageSetCombo"),
                        QStringLiteral("reverse"),          QStringLiteral("collate"),
                        QStringLiteral("printCurrentPage"), QStringLiteral("printSelection"),
                        QStringLiteral("pagesRadioButton"), QStringLiteral("pagesLineEdit")};
    // The top one of the page margins in the printer's properties, a window
    // of its own made anew for each printer: the box that holds all four
    // is hidden, since every page keeps the margins its headings need.
    QString margins = QStringLiteral("topMargin");
    // The CUPS options as name and value in turn ("page-ranges", "2-3,5").
    QPrintEngine::PrintEnginePropertyKey cupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
};

// The parts `dialog` lacks, by name. The engine's key is asked of the
// dialog's printer, and only of a print queue's: a printer that writes a
// file has no CUPS options at all.
QStringList missingParts(const QPrintDialog &dialog, const QtDialogParts &parts);

PrinterChoice choiceOf(const QPrinter &printer, const QtDialogParts &parts = {});

// Sets `printer` up as `settings` ask; what they leave unsaid stays as the
// queue has it. A page range is carried over only when it is a single one.
void applySettings(const core::PrinterSettings &settings, QPrinter &printer);

// The settings a choice stands for: its queue by name, its copies, and an
// option for each thing in which it differs from `defaults` where the queue
// offers it; orientation and pages always, since the program itself lays
// them out.
core::PrinterSettings settingsFrom(const PrinterChoice &choice, const PrinterDefaults &defaults);

// The real dialog: the system's print dialog, titled "Printer Settings", its
// accept button reading "OK". The first time it opens without one of
// `parts`, `notice` gets one line naming what is missing; by default that
// line goes to standard error, whatever TAVIMARK_DEBUG says, since nothing
// else would tell that a Qt update changed the dialog.
std::unique_ptr<core::PrinterSettingsEditor> makePrinterDialog(QtDialogParts parts = {},
                                                               std::function<void(const QString &)> notice = {});

} // namespace platform

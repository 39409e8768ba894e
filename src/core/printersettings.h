// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <optional>

// Where a run prints and how: the queue, and the options each of its jobs
// carries. Both the window's printer settings and the command line's -d, -n
// and -o come down to this; only the printer can say which of the options it
// really offers (see the printer sinks).
namespace core {

// One option as lp's -o spells it: an IPP job attribute's name and value.
struct JobOption {
    QString name;
    QString value;
    friend bool operator==(const JobOption &, const JobOption &) = default;
};

struct PrinterSettings {
    QString printer;  // a CUPS queue; empty: the default one
    int copies = 1;
    // In the order given, each name once; copies is not among them.
    QList<JobOption> options;

    // The option's value; empty when it is not set.
    QString value(const QString &name) const;
    // Sets an option, or drops it with an empty value.
    void set(const QString &name, const QString &value);
    bool isDefault() const { return printer.isEmpty() && copies == 1 && options.isEmpty(); }
    friend bool operator==(const PrinterSettings &, const PrinterSettings &) = default;
};

inline constexpr int MaxCopies = 999;

// Options whose names the program knows by heart.
namespace option {
inline const QString Sides = QStringLiteral("sides");
inline const QString Media = QStringLiteral("media");
inline const QString Orientation = QStringLiteral("orientation-requested");
inline const QString ColorMode = QStringLiteral("print-color-mode");
inline const QString PageRanges = QStringLiteral("page-ranges");
inline const QString NumberUp = QStringLiteral("number-up");
inline const QString Copies = QStringLiteral("copies");
} // namespace option

// The options the program carries out itself, on every queue and in PDF
// files alike: the engine lays the pages out in that orientation, and the
// chosen pages are picked from each document before it goes out. They never
// go to the printer, which would turn or pick the pages a second time.
bool appliedByTheProgram(const QString &name);

// One -o argument read and tidied: "landscape" and "portrait" as lp takes
// them, orientation names as numbers, names in lower case. The error says
// what is wrong, in words for the user; the value's own check against a
// printer comes later.
struct ParsedOption {
    std::optional<JobOption> option;
    QString error;
};
ParsedOption parseJobOption(const QString &text);

// The paper a media name stands for: a PWG self-describing name
// ("iso_a4_210x297mm", "na_letter_8.5x11in") or a common one ("A4",
// "Letter", any case). Invalid when the name says no size.
QPageSize paperNamed(const QString &media);

// A paper's name for a person or a script reading what a run did: its
// common name ("A4", "Letter") where it has one, else its size
// ("custom_100x150mm"); empty for no paper at all.
QString paperName(const QPageSize &paper);

// The page layout a run prints with: the printer's own, with the paper and
// orientation the settings ask for.
QPageLayout layoutFor(const PrinterSettings &settings, const QPageLayout &printerLayout);

// How the Print button describes where and how it prints:
// "Prints on Office_Laser: two-sided, A4, 2 copies".
QString describePrinting(const PrinterSettings &settings);

} // namespace core

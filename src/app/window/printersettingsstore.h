// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/documentrenderer.h"
#include "core/printersettings.h"

#include <QString>

// The printer settings the window keeps from one start to the next: in the
// user's configuration folder, group "printer", with the queue's "name", the
// "copies" and the "options" as lp's -o spells them ("sides=one-sided").
// No widget in it: the window only calls it, at its start and when the
// settings are edited.
namespace app {

// What a stored value cannot stand for (copies that are no number from 1 to
// core::MaxCopies, an option -o would refuse) is left out, so a file
// edited by hand or left by another version never stops the window.
core::PrinterSettings loadPrinterSettings();

// The stored settings as loadPrinterSettings() reads them, or, when the file
// cannot be read or is no settings file at all (random bytes, a damaged
// line), why not, as a message for the user: such a file says nothing
// about where to print, and must not pass for the default printer.
// What documents wait for beyond settling is kept beside the printer
// settings, in group "loading": "wait-for", a CSS selector, "delay", in
// milliseconds, "combine", "true" when the run goes out as one job, and
// "contents", "true" when that job begins with a contents page.
struct StoredPrinterSettings {
    core::PrinterSettings settings;
    QString unreadable;
    // A value that cannot stand for what it names (a delay that is no number
    // of milliseconds from 0 to core::Readiness::MaxDelay, a selector with
    // line breaks or of absurd length) is left at its default; so is all of
    // it when the file cannot be read.
    core::LoadingSettings loading{};
};
StoredPrinterSettings readPrinterSettings();

// Keeps `settings` for later starts, replacing a file that could not be
// read. What went wrong when they could not be kept, as a message for the
// user; empty when they were.
QString savePrinterSettings(const core::PrinterSettings &settings);
// The same for what documents wait for.
QString saveLoadingSettings(const core::LoadingSettings &loading);

} // namespace app

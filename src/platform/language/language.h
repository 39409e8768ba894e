// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLibraryInfo>
#include <QLocale>
#include <QString>

class QCoreApplication;

// The user's language for everything the program says: its own texts from
// the translations built into it, and the texts of Qt's own dialogs from
// Qt's translations on the machine. The window and the command line both
// call it once, before they show or write anything.
namespace platform {

// Which of the program's own translations the user's language found.
enum class Translated { Program, None };

// The language the user asked for: LC_ALL, then LC_MESSAGES, then LANG, as
// the C library reads them; C, POSIX or nothing at all is English.
QLocale userLocale();

// Loads the translations for `locale` into the application; an English or an
// unknown language loads none and leaves every text as written. Qt's own
// translations (qtbase_LANG.qm in `qtFolder`) that are missing or damaged
// are skipped: Qt's dialogs then speak English, and the rest of the program
// still speaks the language. A right-to-left language mirrors the windows.
Translated loadTranslations(QCoreApplication &application, const QLocale &locale = userLocale(),
                            const QString &qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));

// Takes out what loadTranslations() put in, the mirroring included, so that
// another language can be loaded in its place.
void unloadTranslations(QCoreApplication &application);

} // namespace platform

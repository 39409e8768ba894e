// SPDX-License-Identifier: GPL-3.0-or-later
#include "language.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTranslator>

#include <memory>

namespace platform {

namespace {

// Qt mirrors its windows when the loaded translations say so in this text;
// the program's own translations say it too, so a machine without Qt's
// translations still shows a Hebrew window right to left.
[[maybe_unused]] const char *const LayoutDirection = QT_TRANSLATE_NOOP("QGuiApplication", "QT_LAYOUT_DIRECTION");

// The first of the locale variables that is set, as setlocale() chooses.
QString localeVariable()
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

// The translators this unit installed, told from any others by their name.
const QString TranslatorName = QStringLiteral("tavimark translations");

bool isEnglish(const QLocale &locale)
{
    return locale.language() == QLocale::English || locale.language() == QLocale::C;
}

// A translator owned by the application, installed only when its file loaded.
bool install(QCoreApplication &application, const QLocale &locale, const QString &name, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, name, QStringLiteral("_"), folder)
        || !QCoreApplication::installTranslator(translator.get()))
        return false;
    translator->setObjectName(TranslatorName);
    translator.release()->setParent(&application);
    return true;
}

} // namespace

QLocale userLocale()
{
    const QString variable = localeVariable();
    if (variable.isEmpty())
        return QLocale::c();
    // "de_DE.UTF-8@euro" names the language before its dot and its at sign.
    const QString name = variable.section(u'.', 0, 0).section(u'@', 0, 0);
    if (name == u"C" || name == u"POSIX")
        return QLocale::c();
    return QLocale(name);
}

Translated loadTranslations(QCoreApplication &application, const QLocale &locale, const QString &qtFolder)
{
    if (isEnglish(locale))
        return Translated::None;
    if (!install(application, locale, QStringLiteral("tavimark"), QStringLiteral(":/translations")))
        return Translated::None;
    install(application, locale, QStringLiteral("qtbase"), qtFolder);
    if (qobject_cast<QGuiApplication *>(&application) && locale.textDirection() == Qt::RightToLeft)
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    return Translated::Program;
}

void unloadTranslations(QCoreApplication &application)
{
    for (QTranslator *translator :
         application.findChildren<QTranslator *>(TranslatorName, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    if (qobject_cast<QGuiApplication *>(&application))
        QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

} // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#include "printersettingsstore.h"

#include "core/appinfo.h"
#include "core/messagetext.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

namespace app {

namespace {

const QString Group = QStringLiteral("printer");
const QString NameKey = QStringLiteral("name");
const QString CopiesKey = QStringLiteral("copies");
const QString OptionsKey = QStringLiteral("options");
const QString LoadingGroup = QStringLiteral("loading");
const QString WaitForKey = QStringLiteral("wait-for");
const QString DelayKey = QStringLiteral("delay");
const QString CombineKey = QStringLiteral("combine");
const QString ContentsKey = QStringLiteral("contents");
// Longer than any selector written by hand; a longer value is no choice a
// user made in this window.
constexpr qsizetype MaxSelectorLength = 1000;

// The program's name stands for both organisation and application, whatever
// the running executable calls itself, so the window finds the same file on
// every start.
std::unique_ptr<QSettings> printerGroup()
{
    auto store = std::make_unique<QSettings>(QSettings::UserScope, core::applicationTitle(),
                                             core::applicationTitle());
    store->beginGroup(Group);
    return store;
}

QString storedSelector(const QVariant &value)
{
    if (value.metaType().id() != QMetaType::QString)
        return {};
    const QString selector = value.toString().trimmed();
    const bool oneLine = std::none_of(selector.cbegin(), selector.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
    return oneLine && selector.size() <= MaxSelectorLength ? selector : QString();
}

std::chrono::milliseconds storedDelay(const QVariant &value)
{
    bool ok = false;
    const qint64 ms = value.toString().toLongLong(&ok);
    return ok && ms >= 0 && ms <= core::Readiness::MaxDelay.count() ? std::chrono::milliseconds(ms)
                                                                     : std::chrono::milliseconds(0);
}

// Only the words this program writes stand for a choice; anything else
// is the default, off.
bool storedSwitch(const QVariant &value)
{
    return value.metaType().id() == QMetaType::QString && value.toString() == u"true";
}

core::LoadingSettings loadingIn(QSettings &store)
{
    store.beginGroup(LoadingGroup);
    core::LoadingSettings readiness{storedSelector(store.value(WaitForKey)), storedDelay(store.value(DelayKey))};
    readiness.combine = storedSwitch(store.value(CombineKey));
    readiness.contents = readiness.combine && storedSwitch(store.value(ContentsKey));
    store.endGroup();
    return readiness;
}

int storedCopies(const QVariant &value)
{
    bool ok = false;
    const int copies = value.toString().toInt(&ok);
    return ok && copies >= 1 && copies <= core::MaxCopies ? copies : 1;
}

void addStoredOption(core::PrinterSettings &settings, const QString &text)
{
    const core::ParsedOption parsed = core::parseJobOption(text);
    // Copies have their own key; an option that says them again is not read.
    if (parsed.option && parsed.option->name != core::option::Copies)
        settings.set(parsed.option->name, parsed.option->value);
}

core::PrinterSettings settingsIn(const QSettings &group)
{
    core::PrinterSettings settings;
    settings.printer = group.value(NameKey).toString().trimmed();
    settings.copies = storedCopies(group.value(CopiesKey));
    for (const QString &text : group.value(OptionsKey).toStringList())
        addStoredOption(settings, text);
    return settings;
}

// Whether a line of the settings file is neither blank, a comment, a whole
// group line nor a key with its value. The settings reader makes what it
// can of such a file and says so only to the first reader after the file
// changed, so the program looks for itself.
bool holdsDamagedLine(const QByteArray &bytes)
{
    QByteArray logical;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        logical += line;
        // A value may go on in the next line after a backslash.
        if (logical.endsWith('\\')) {
            logical.chop(1);
            continue;
        }
        const QByteArray text = std::exchange(logical, {}).trimmed();
        if (text.isEmpty() || text.startsWith(';') || text.startsWith('#'))
            continue;
        if (text.startsWith('[') ? !text.contains(']') : !text.contains('='))
            return true;
    }
    return false;
}

// Why the file at `path` holds no settings to go by, in words for the user;
// empty when it does, or when there is none. The settings reader takes any
// bytes without complaint, and makes what it can of them; but the program
// writes UTF-8 text only, so anything else is no settings file.
QString whyUnreadable(const QString &path, const QSettings &store)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return QCoreApplication::translate("app::PrinterSettingsStore", "it is not a file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return core::quotedReason(file.errorString());
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0') || !bytes.isValidUtf8())
        return QCoreApplication::translate("app::PrinterSettingsStore", "it is not a settings file");
    if (holdsDamagedLine(bytes) || store.status() == QSettings::FormatError)
        return QCoreApplication::translate("app::PrinterSettingsStore", "a line of it is damaged");
    return {};
}

// Why a file the settings could not be written to refuses them. The settings
// writer only says that it failed, so the folder and the file are tried
// here as it tries them.
QString whyNotWritable(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(QFileInfo(path).path()).toStdString(), error);
    if (error)
        return QString::fromLocal8Bit(error.message());
    if (QFileInfo(path).isDir())
        return QString::fromLocal8Bit(std::make_error_code(std::errc::is_a_directory).message());
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return core::quotedReason(probe.errorString());
    probe.cancelWriting();
    return QCoreApplication::translate("app::PrinterSettingsStore", "it could not be written");
}

} // namespace

core::PrinterSettings loadPrinterSettings()
{
    return settingsIn(*printerGroup());
}

StoredPrinterSettings readPrinterSettings()
{
    const std::unique_ptr<QSettings> group = printerGroup();
    const QString path = group->fileName();
    // Read first: the reader says what it met only once it has read.
    core::PrinterSettings settings = settingsIn(*group);
    group->endGroup();
    core::LoadingSettings readiness = loadingIn(*group);
    if (const QString why = whyUnreadable(path, *group); !why.isEmpty()) {
        return {{},
                QCoreApplication::translate("app::PrinterSettingsStore",
                                            "The printer settings in \"%1\" could not be read (%2), so nothing "
                                            "was printed; choose the printer again with Ctrl+P.")
                    .arg(core::quoted(path), why)};
    }
    return {std::move(settings), {}, std::move(readiness)};
}

QString saveLoadingSettings(const core::LoadingSettings &loading)
{
    std::unique_ptr<QSettings> group = printerGroup();
    group->endGroup();
    const QString path = group->fileName();
    if (!whyUnreadable(path, *group).isEmpty()) {
        group.reset();
        QFile::remove(path);
        group = printerGroup();
        group->endGroup();
    }
    group->beginGroup(LoadingGroup);
    group->setValue(WaitForKey, loading.waitFor);
    group->setValue(DelayKey, qint64(loading.delay.count()));
    group->setValue(CombineKey, loading.combine ? QStringLiteral("true") : QStringLiteral("false"));
    group->setValue(ContentsKey, loading.contents ? QStringLiteral("true") : QStringLiteral("false"));
    group->sync();
    if (group->status() == QSettings::NoError)
        return {};
    return QCoreApplication::translate("app::PrinterSettingsStore",
                                       "The loading settings could not be kept for the next start (\"%1\": %2), "
                                       "so they hold only until %3 closes.")
        .arg(core::quoted(path), whyNotWritable(path), core::applicationTitle());
}

QString savePrinterSettings(const core::PrinterSettings &settings)
{
    QStringList options;
    for (const core::JobOption &option : settings.options)
        options << option.name + u'=' + option.value;
    std::unique_ptr<QSettings> group = printerGroup();
    const QString path = group->fileName();
    // What cannot be read is not merged into the new choice: it goes.
    if (!whyUnreadable(path, *group).isEmpty()) {
        group.reset();
        QFile::remove(path);
        group = printerGroup();
    }
    group->setValue(NameKey, settings.printer);
    group->setValue(CopiesKey, settings.copies);
    group->setValue(OptionsKey, options);
    group->sync();
    if (group->status() == QSettings::NoError)
        return {};
    return QCoreApplication::translate("app::PrinterSettingsStore",
                                       "The printer settings could not be kept for the next start (\"%1\": %2), so "
                                       "they hold only until %3 closes.")
        .arg(core::quoted(path), whyNotWritable(path), core::applicationTitle());
}

} // namespace app

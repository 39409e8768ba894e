#include "printersettingsstore.h"

#include "core/appinfo.h"

#include <QSettings>
#include <QStringList>

#include <memory>

namespace app {

namespace {

const QString Group = QStringLiteral("printer");
const QString NameKey = QStringLiteral("name");
const QString CopiesKey = QStringLiteral("copies");
const QString OptionsKey = QStringLiteral("options");

// The program's name stands for both organisation and application, whatever
// the running executable calls itself, so the window finds the same file on
// every start.
std::unique_ptr<QSettings> printerGroup()
{
    auto store = std::make_unique<QSettings>(QSettings::UserScope, platform::applicationTitle(),
                                             platform::applicationTitle());
    store->beginGroup(Group);
    return store;
}

int storedCopies(const QVariant &value)
{
    bool ok = false;
    const int copies = value.toString().toInt(&ok);
    return ok && copies >= 1 && copies <= platform::MaxCopies ? copies : 1;
}

void addStoredOption(platform::PrinterSettings &settings, const QString &text)
{
    const platform::ParsedOption parsed = platform::parseJobOption(text);
    // Copies have their own key; an option that says them again is not read.
    if (parsed.option && parsed.option->name != platform::option::Copies)
        settings.set(parsed.option->name, parsed.option->value);
}

} // namespace

platform::PrinterSettings loadPrinterSettings()
{
    const std::unique_ptr<QSettings> group = printerGroup();
    platform::PrinterSettings settings;
    settings.printer = group->value(NameKey).toString().trimmed();
    settings.copies = storedCopies(group->value(CopiesKey));
    for (const QString &text : group->value(OptionsKey).toStringList())
        addStoredOption(settings, text);
    return settings;
}

void savePrinterSettings(const platform::PrinterSettings &settings)
{
    QStringList options;
    for (const platform::JobOption &option : settings.options)
        options << option.name + u'=' + option.value;
    const std::unique_ptr<QSettings> group = printerGroup();
    group->setValue(NameKey, settings.printer);
    group->setValue(CopiesKey, settings.copies);
    group->setValue(OptionsKey, options);
}

} // namespace app

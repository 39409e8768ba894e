// SPDX-License-Identifier: GPL-3.0-or-later
#include "printersettings.h"
#include "messagetext.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSizeF>
#include <QStringList>

#include <algorithm>

namespace core {

namespace {

// Longer values are no option any printer offers; they would only end up in
// a request and a message whole.
constexpr qsizetype LongestValue = 1024;

const QString Portrait = QStringLiteral("3");
const QString Landscape = QStringLiteral("4");

// The options the Print button names in words, in the order it names them.
const QStringList &describedFirst()
{
    static const QStringList names{option::Sides,      option::Media,      option::Orientation,
                                   option::ColorMode, option::PageRanges, option::NumberUp};
    return names;
}

bool isWholeNumber(const QString &text, int lowest, int highest)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok && number >= lowest && number <= highest && !text.startsWith(u'+');
}

bool hasControlCharacters(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

std::optional<QString> orientationNumber(const QString &value)
{
    if (value == Portrait || value == u"portrait")
        return Portrait;
    if (value == Landscape || value == u"landscape")
        return Landscape;
    return std::nullopt;
}

// The value's own check, where one can be made without a printer.
QString valueProblem(const QString &name, const QString &value)
{
    if (name == option::Copies && !isWholeNumber(value, 1, MaxCopies))
        return QCoreApplication::translate("core::PrinterSettings", "-o copies wants a whole number from 1 to %1")
            .arg(MaxCopies);
    if (name == option::NumberUp && !isWholeNumber(value, 1, 999))
        return QCoreApplication::translate("core::PrinterSettings",
                                           "-o number-up wants a whole number of pages a sheet, such as 2");
    if (name == option::Media && !paperNamed(value).isValid())
        return QCoreApplication::translate(
                   "core::PrinterSettings",
                   "-o media=%1 names no paper size; use a name such as A4, Letter or iso_a4_210x297mm")
            .arg(value);
    if (name == option::Orientation && !orientationNumber(value))
        return QCoreApplication::translate("core::PrinterSettings",
                                           "-o orientation-requested=%1 is no orientation Tavimark lays pages out in: "
                                           "use 3 (portrait) or 4 (landscape)")
            .arg(value);
    return {};
}

QString paperWords(const QString &media)
{
    const QPageSize paper = paperNamed(media);
    return paper.id() == QPageSize::Custom ? media : QPageSize::key(paper.id());
}

QString optionWords(const JobOption &option)
{
    if (option.name == option::Sides) {
        if (option.value == u"two-sided-long-edge")
            return QCoreApplication::translate("core::PrinterSettings", "two-sided");
        if (option.value == u"two-sided-short-edge")
            return QCoreApplication::translate("core::PrinterSettings", "two-sided, short edge");
        return option.value;
    }
    if (option.name == option::Media)
        return paperWords(option.value);
    if (option.name == option::Orientation)
        return option.value == Landscape ? QCoreApplication::translate("core::PrinterSettings", "landscape")
                                         : QCoreApplication::translate("core::PrinterSettings", "portrait");
    if (option.name == option::ColorMode)
        return option.value == u"color" ? QCoreApplication::translate("core::PrinterSettings", "colour") : option.value;
    if (option.name == option::PageRanges)
        return QCoreApplication::translate("core::PrinterSettings", "pages %1").arg(option.value);
    if (option.name == option::NumberUp)
        return QCoreApplication::translate("core::PrinterSettings", "%1 pages a sheet").arg(option.value);
    return option.name + u'=' + option.value;
}

} // namespace

QString PrinterSettings::value(const QString &name) const
{
    for (const JobOption &option : options) {
        if (option.name == name)
            return option.value;
    }
    return {};
}

void PrinterSettings::set(const QString &name, const QString &value)
{
    const auto same = [&name](const JobOption &option) { return option.name == name; };
    if (value.isEmpty()) {
        options.removeIf(same);
        return;
    }
    const auto found = std::find_if(options.begin(), options.end(), same);
    if (found != options.end())
        found->value = value;
    else
        options.append({name, value});
}

bool appliedByTheProgram(const QString &name)
{
    return name == option::Orientation || name == option::PageRanges;
}

ParsedOption parseJobOption(const QString &text)
{
    static const QRegularExpression keyword(QStringLiteral("^[a-z][a-z0-9-]*$"));
    const qsizetype equals = text.indexOf(u'=');
    const QString name = (equals < 0 ? text : text.left(equals)).trimmed().toLower();
    if (equals < 0 && (name == u"landscape" || name == u"portrait"))
        return {JobOption{option::Orientation, *orientationNumber(name)}, {}};
    const QString value = equals < 0 ? QString() : text.mid(equals + 1).trimmed();
    if (!keyword.match(name).hasMatch() || value.isEmpty())
        return {std::nullopt,
                QCoreApplication::translate("core::PrinterSettings",
                                            "-o wants NAME=VALUE, such as sides=two-sided-long-edge, not \"%1\"")
                    .arg(text)};
    if (value.size() > LongestValue || hasControlCharacters(value))
        return {std::nullopt,
                QCoreApplication::translate("core::PrinterSettings", "-o %1 has a value no printer takes").arg(name)};
    if (const QString problem = valueProblem(name, value); !problem.isEmpty())
        return {std::nullopt, problem};
    const QString tidied = name == option::Orientation ? *orientationNumber(value) : value;
    return {JobOption{name, tidied}, {}};
}

QPageSize paperNamed(const QString &media)
{
    // PWG self-describing names end in the size: class_name_WIDTHxHEIGHTunit.
    static const QRegularExpression pwg(
        QStringLiteral("^[a-z0-9-]+_[a-z0-9.-]+_(\\d+(?:\\.\\d+)?)x(\\d+(?:\\.\\d+)?)(mm|in)$"));
    if (const QRegularExpressionMatch match = pwg.match(media); match.hasMatch()) {
        const QSizeF size(match.captured(1).toDouble(), match.captured(2).toDouble());
        if (size.width() <= 0 || size.height() <= 0 || size.width() > 10'000 || size.height() > 10'000)
            return {};
        const auto unit = match.captured(3) == u"mm" ? QPageSize::Millimeter : QPageSize::Inch;
        return QPageSize(size, unit, {}, QPageSize::FuzzyMatch);
    }
    for (int id = 0; id < QPageSize::LastPageSize; ++id) {
        const auto pageId = QPageSize::PageSizeId(id);
        if (pageId != QPageSize::Custom && QPageSize::key(pageId).compare(media, Qt::CaseInsensitive) == 0)
            return QPageSize(pageId);
    }
    return {};
}

QString paperName(const QPageSize &paper)
{
    if (!paper.isValid())
        return {};
    if (paper.id() != QPageSize::Custom)
        return paper.key();
    const QSizeF size = paper.size(QPageSize::Millimeter);
    return u"custom_" + QString::number(size.width(), 'g', 4) + u'x' + QString::number(size.height(), 'g', 4) + u"mm";
}

QPageLayout layoutFor(const PrinterSettings &settings, const QPageLayout &printerLayout)
{
    QPageLayout layout = printerLayout;
    if (const QPageSize paper = paperNamed(settings.value(option::Media)); paper.isValid())
        layout.setPageSize(paper, layout.margins());
    if (const QString orientation = settings.value(option::Orientation); !orientation.isEmpty())
        layout.setOrientation(orientation == Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return layout;
}

QString describePrinting(const PrinterSettings &settings)
{
    const QString where = settings.printer.isEmpty()
        ? QCoreApplication::translate("core::PrinterSettings", "the default printer")
        : quoted(settings.printer);
    QStringList how;
    for (const QString &name : describedFirst()) {
        if (const QString value = settings.value(name); !value.isEmpty())
            how << optionWords({name, value});
    }
    for (const JobOption &other : settings.options) {
        if (!describedFirst().contains(other.name))
            how << optionWords(other);
    }
    if (settings.copies > 1)
        how << QCoreApplication::translate("core::PrinterSettings", "%n copies", nullptr, settings.copies);
    if (how.isEmpty())
        return QCoreApplication::translate("core::PrinterSettings", "Prints on %1").arg(where);
    return QCoreApplication::translate("core::PrinterSettings", "Prints on %1: %2").arg(where, how.join(u", "));
}

} // namespace core

#include "selection.h"

#include <QDir>

namespace sources {

namespace {
bool endsInSeparator(const QString &folder)
{
    return folder.endsWith(u'/') || folder.endsWith(QDir::separator());
}
} // namespace

QString joinPath(const QString &folder, const QString &name)
{
    if (endsInSeparator(folder))
        return folder + name;
    return folder + QDir::separator() + name;
}

QStringList selectedPaths(const QString &dialogResult)
{
    if (dialogResult.isEmpty())
        return {};
    const QStringList parts = dialogResult.split(QChar(0));
    if (parts.size() == 1)
        return parts;
    QStringList paths;
    paths.reserve(parts.size() - 1);
    for (qsizetype i = 1; i < parts.size(); ++i)
        paths << joinPath(parts.first(), parts.at(i));
    return paths;
}

} // namespace sources

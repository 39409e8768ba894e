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

} // namespace sources

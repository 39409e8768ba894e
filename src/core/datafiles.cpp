// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace core {

QString findDataFile(const QString &name)
{
    return findDataFile(QCoreApplication::applicationDirPath(), name);
}

QString findDataFile(const QString &programFolder, const QString &name)
{
    // The build works out the installed data folder relative to the
    // installed program, from the same install directories it installs to.
    const QDir program(programFolder);
    for (const QString &folder : {program.path(), program.filePath(QStringLiteral(TAVIMARK_DATA_FROM_BIN))}) {
        const QString path = QDir::cleanPath(folder + u'/' + name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

} // namespace core

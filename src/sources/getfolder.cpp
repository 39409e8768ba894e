#include "getfolder.h"

#include "platform/desktop.h"

#include <QDir>

namespace sources {

namespace {

// A backslash is an ordinary character in names where it is not the
// separator, so it is only taken as one where the platform says so.
bool isSeparator(QChar c) { return c == u'/' || c == QDir::separator(); }

// "/" and drive roots such as "C:\" are the folders whose separator is part
// of their name.
bool isRoot(const QString &path)
{
    if (path.size() == 1)
        return isSeparator(path.front());
    return path.size() == 3 && path.at(0).isLetter() && path.at(1) == u':' && isSeparator(path.at(2));
}

} // namespace

QString GetFolder(platform::FolderBrowser &browser, QWidget *owner, const QString &prompt)
{
    QString path = browser.browseForFolder(owner, prompt);
    while (path.size() > 1 && isSeparator(path.back()) && !isRoot(path))
        path.chop(1);
    return path;
}

} // namespace sources

// SPDX-License-Identifier: GPL-3.0-or-later
#include "savelist.h"
#include "listfile.h"

#include "joblist/joblist.h"
#include "core/desktop.h"
#include "core/entryaddress.h"
#include "core/signin.h"
#include "core/messagetext.h"

#include <QSaveFile>

namespace sources {

namespace {

// The reader's own rules decide: one token, turned into the entry as
// the list action turns it, and a document address it accepts.
bool readsBackAs(const QString &line, const QString &entry)
{
    return isWholeToken(line) && QString::fromUtf8(line.toUtf8()) == line && listEntry(line) == entry
        && core::documentAddressProblem(entry).isEmpty();
}

QString fileUrlLine(const QByteArray &localName)
{
    return u"file://" + QString::fromLatin1(localName.toPercentEncoding("/"));
}

} // namespace

std::optional<QString> listLine(const QString &entry)
{
    if (readsBackAs(entry, entry))
        return entry;
    const QByteArray localName = core::addressOf(entry).localName;
    if (localName.isEmpty())
        return std::nullopt;
    if (QString line = fileUrlLine(localName); readsBackAs(line, entry))
        return line;
    return std::nullopt;
}

ListFileContents listFileContents(const joblist::JobList &jobs)
{
    ListFileContents contents;
    QString text;
    for (int position = 1; position <= jobs.count(); ++position) {
        // A list file travels; a password written into an address stays
        // behind, and the site asks for it again where the list is read.
        const QString entry = core::withoutUserInfo(jobs.text(position));
        if (const std::optional<QString> line = listLine(entry))
            text += *line + u'\n';
        else
            contents.leftOut << entry;
    }
    contents.bytes = text.toUtf8();
    return contents;
}

QString writeListFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

QString leftOutMessage(const QStringList &leftOut)
{
    QStringList names;
    for (const QString &entry : leftOut)
        names << core::quoted(core::oneLine(entry));
    return QCoreApplication::translate("sources",
                                       "These entries were left out of the list file, which cannot hold them "
                                       "so that they read back as they are:")
        + u"\n\n" + core::namedList(names);
}

void saveListAs(core::FileSaveDialog &dialog, core::MessageBox &messages, QWidget *owner,
                const joblist::JobList &jobs)
{
    const QString path = dialog.showSave(owner, saveListTitle(), saveListFilters());
    if (path.isEmpty())
        return;
    const ListFileContents contents = listFileContents(jobs);
    if (const QString failure = writeListFile(path, contents.bytes); !failure.isEmpty()) {
        messages.show(owner,
                      QCoreApplication::translate("sources", "The list could not be saved:") + u"\n\n"
                          + core::quoted(path) + u" (" + core::quotedReason(failure) + u')');
        return;
    }
    if (!contents.leftOut.isEmpty())
        messages.show(owner, leftOutMessage(contents.leftOut));
}

} // namespace sources

#include "addurllists.h"
#include "listfile.h"
#include "selection.h"

#include "joblist/joblist.h"
#include "platform/desktop.h"
#include "platform/eventyield.h"
#include "platform/mousepointer.h"

namespace sources {

namespace {

constexpr qsizetype NamedSkippedFiles = 20;

// Shows the hourglass for as long as it lives, also when the action stops early.
class BusyPointer {
public:
    explicit BusyPointer(platform::PointerOwner &owner) : m_owner(owner)
    {
        m_owner.setMousePointer(platform::MousePointer::Busy);
    }
    ~BusyPointer() { m_owner.setMousePointer(platform::MousePointer::Default); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    platform::PointerOwner &m_owner;
};

// Reads one list file and appends its tokens. False when the window closed
// meanwhile, so the caller stops.
bool addListFile(const QString &path, platform::EventYield &yield, joblist::JobList &jobs,
                 QList<SkippedListFile> &skipped)
{
    ListFileText file = ReadWholeFile(path);
    if (!file.isRead()) {
        skipped.append({path, file.failure});
        return true;
    }
    const QStringList tokens = LoadTextFile(std::move(file.text), [&yield] { return yield.yieldSliced(); });
    if (yield.closed())
        return false;
    for (const QString &token : tokens)
        jobs.add(token);
    return true;
}

} // namespace

QString skippedListFilesMessage(const QList<SkippedListFile> &skipped)
{
    QString text = QStringLiteral("These list files could not be read; nothing was added from them:\n");
    const qsizetype named = std::min(skipped.size(), NamedSkippedFiles);
    for (qsizetype i = 0; i < named; ++i)
        text += u'\n' + skipped.at(i).path + u" (" + skipped.at(i).why + u')';
    if (skipped.size() > named)
        text += QStringLiteral("\nand %1 more.").arg(skipped.size() - named);
    return text;
}

void addUrlLists(platform::FileOpenDialog &dialog, platform::MessageBox &messages, QWidget *owner,
                 platform::PointerOwner &pointer, platform::EventYield &yield, joblist::JobList &jobs)
{
    const QStringList paths = selectedPaths(dialog.showOpen(owner, UrlListsTitle, UrlListsFilter));
    if (paths.isEmpty())
        return;
    QList<SkippedListFile> skipped;
    {
        const BusyPointer busy(pointer);
        for (const QString &path : paths) {
            if (!addListFile(path, yield, jobs, skipped))
                return;
        }
    }
    if (!skipped.isEmpty())
        messages.show(owner, skippedListFilesMessage(skipped));
}

} // namespace sources

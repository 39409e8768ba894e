// SPDX-License-Identifier: GPL-3.0-or-later
#include "listmenu.h"

#include "joblist/joblist.h"
#include "joblist/outcomes.h"
#include "printing/printrun.h"
#include "sources/savelist.h"
#include "core/desktop.h"
#include "core/entryaddress.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

namespace app {

ListMenu::ListMenu(joblist::JobList &jobs, printing::PrintRun &run, Dialogs dialogs, QWidget *owner)
    : QObject(owner)
    , m_jobs(jobs)
    , m_run(run)
    , m_dialogs(dialogs)
    , m_owner(owner)
    , m_menu(new QMenu(owner))
{
    m_removePrinted = m_menu->addAction(tr("Remove printed entries"), this, &ListMenu::removePrintedEntries);
    m_saveList = m_menu->addAction(tr("Save list as..."), this, &ListMenu::saveList);
    m_copyOutcomes = m_menu->addAction(tr("Copy outcomes"), this, &ListMenu::copyOutcomes);
    if (m_dialogs.signIns) {
        m_menu->addSeparator();
        m_signIn = m_menu->addAction(QString(), this, &ListMenu::signIn);
        m_forgetSignIns = m_menu->addAction(tr("Forget sign-ins"), this, &ListMenu::forgetSignIns);
        m_forgetSignIns->setToolTip(tr("Forgets the cookies sites set, the pages visited, "
                                       "and the passwords given in this window"));
    }
    m_stop = new QAction(tr("Stop"), this);
    connect(m_stop, &QAction::triggered, &m_run, &printing::PrintRun::stop);
    m_stopSeparator = new QAction(this);
    m_stopSeparator->setSeparator(true);
    connect(m_menu, &QMenu::aboutToShow, this, &ListMenu::updateActions);
}

void ListMenu::popup(const QPoint &globalPos, const QString &entry)
{
    m_signInAddress.clear();
    if (!entry.isEmpty() && core::documentAddressProblem(entry).isEmpty()) {
        const QUrl url = core::addressOf(entry).url;
        if (url.scheme() == u"http" || url.scheme() == u"https")
            m_signInAddress = url;
    }
    m_menu->popup(globalPos);
}

// While a run goes on its marks are still being settled: what it has printed
// is known once it is over, and only then is taken out in bulk.
void ListMenu::updateActions()
{
    const bool hasEntries = m_jobs.count() > 0;
    m_removePrinted->setEnabled(!m_run.running() && joblist::anyReachedPrinter(m_jobs));
    m_saveList->setEnabled(hasEntries);
    m_copyOutcomes->setEnabled(hasEntries);
    offerStopWhileRunning();
    if (m_signIn) {
        m_signIn->setVisible(!m_signInAddress.isEmpty());
        m_signIn->setText(tr("Sign in to %1...").arg(m_signInAddress.host()));
    }
}

// Taken out of the menu rather than hidden, so that between runs the menu
// holds exactly what it offers.
void ListMenu::offerStopWhileRunning()
{
    const bool offered = m_menu->actions().contains(m_stop);
    if (m_run.running() && !offered) {
        QAction *first = m_menu->actions().value(0);
        m_menu->insertAction(first, m_stop);
        m_menu->insertAction(first, m_stopSeparator);
    } else if (!m_run.running() && offered) {
        m_menu->removeAction(m_stop);
        m_menu->removeAction(m_stopSeparator);
    }
}

void ListMenu::removePrintedEntries()
{
    if (!m_run.running())
        joblist::removeEntriesThatReachedPrinter(m_jobs);
}

void ListMenu::saveList()
{
    sources::saveListAs(m_dialogs.save, m_dialogs.messages, m_owner, m_jobs);
}

void ListMenu::signIn()
{
    if (m_dialogs.signIns && !m_signInAddress.isEmpty())
        m_dialogs.signIns->open(m_owner, m_signInAddress);
}

void ListMenu::forgetSignIns()
{
    if (!m_dialogs.signIns)
        return;
    m_dialogs.signIns->forget();
    Q_EMIT signInsForgotten();
}

void ListMenu::copyOutcomes()
{
    QGuiApplication::clipboard()->setText(joblist::outcomeTable(m_jobs));
}

} // namespace app

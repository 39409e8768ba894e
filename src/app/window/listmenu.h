// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace joblist { class JobList; }
namespace core { class FileSaveDialog; class MessageBox; }
namespace printing { class PrintRun; }

namespace app {

// The job list's context menu: take out the entries the last run got to the
// printer, save the list as a URL list file, copy every entry's outcome;
// during a run, stop it first of all.
// Each action's work is done in joblist/ and sources/; this class only
// builds the menu and decides what is offered when it opens.
class ListMenu final : public QObject {
    Q_OBJECT

public:
    struct Dialogs {
        core::FileSaveDialog &save;
        core::MessageBox &messages;
    };

    // The menu belongs to `owner`, which is also the dialogs' owner.
    ListMenu(joblist::JobList &jobs, printing::PrintRun &run, Dialogs dialogs, QWidget *owner);

    QMenu *menu() const { return m_menu; }
    QAction *removePrintedAction() const { return m_removePrinted; }
    QAction *saveListAction() const { return m_saveList; }
    QAction *copyOutcomesAction() const { return m_copyOutcomes; }
    // In the menu only while a run goes on, at its top.
    QAction *stopAction() const { return m_stop; }

    // Opens the menu at `globalPos`, each action enabled as the list and the
    // run now stand.
    void popup(const QPoint &globalPos);
    void updateActions();

    void removePrintedEntries();
    void saveList();
    void copyOutcomes();

private:
    void offerStopWhileRunning();

    joblist::JobList &m_jobs;
    printing::PrintRun &m_run;
    Dialogs m_dialogs;
    QWidget *m_owner = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_removePrinted = nullptr;
    QAction *m_saveList = nullptr;
    QAction *m_copyOutcomes = nullptr;
    QAction *m_stop = nullptr;
    QAction *m_stopSeparator = nullptr;
};

} // namespace app

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QUrl>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace joblist { class JobList; }
namespace core { class FileSaveDialog; class MessageBox; class SignInWindows; }
namespace printing { class PrintRun; }

namespace app {

// The job list's context menu: take out the entries the last run got to the
// printer, save the list as a URL list file, copy every entry's outcome,
// sign in to the site of the entry it opened at, forget every sign-in;
// during a run, stop it first of all.
// Each action's work is done in joblist/ and sources/; this class only
// builds the menu and decides what is offered when it opens.
class ListMenu final : public QObject {
    Q_OBJECT

public:
    struct Dialogs {
        core::FileSaveDialog &save;
        core::MessageBox &messages;
        // Nothing where the window signs in nowhere.
        core::SignInWindows *signIns = nullptr;
    };

    // The menu belongs to `owner`, which is also the dialogs' owner.
    ListMenu(joblist::JobList &jobs, printing::PrintRun &run, Dialogs dialogs, QWidget *owner);

    QMenu *menu() const { return m_menu; }
    QAction *removePrintedAction() const { return m_removePrinted; }
    QAction *saveListAction() const { return m_saveList; }
    QAction *copyOutcomesAction() const { return m_copyOutcomes; }
    // In the menu only while a run goes on, at its top.
    QAction *stopAction() const { return m_stop; }
    // Offered for a web page's entry only, naming its site.
    QAction *signInAction() const { return m_signIn; }
    QAction *forgetSignInsAction() const { return m_forgetSignIns; }

    // Opens the menu at `globalPos`, each action enabled as the list and the
    // run now stand.
    // `entry` is the one it opened at, if any.
    void popup(const QPoint &globalPos, const QString &entry = {});
    void updateActions();

    void removePrintedEntries();
    void saveList();
    void copyOutcomes();
    void signIn();
    void forgetSignIns();

Q_SIGNALS:
    // The user had every sign-in forgotten.
    void signInsForgotten();

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
    QAction *m_signIn = nullptr;
    QAction *m_forgetSignIns = nullptr;
    QUrl m_signInAddress;  // the web page of the entry the menu opened at
};

} // namespace app

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window keeps the names its design gives its controls, so the handlers
// read as the design does:
//   Check1        the button "Add Local HTML File(s)": picked files
//   Check6        the button "Add Remote HTML URLs From Text File": URL list files
//   Check4        the button " Add All HTML Files In Folder": a folder tree
//   Check2        the button "Print HTML Files": the print run; a right-click
//                 on it (or Ctrl+P) opens the printer settings
//   ListView1     the job list under its one column "HTML File(s)"; a
//                 right-click on it opens the list's menu (ListMenu)
//   ProgressBar1  the share of entries a print run has begun
//   Command1      a button that is never seen and does nothing; it holds the
//                 keyboard focus at start
// The window's pointer numbers (core::MousePointer): 0 the arrow,
// 1 the arrow set explicitly, 11 busy (an action is running), 99 the hand
// cursor over the buttons.

#include "core/busypointer.h"
#include "core/desktop.h"
#include "core/eventyield.h"
#include "core/mousepointer.h"
#include "printing/combinedrun.h"
#include "printing/printrun.h"
#include "sitesignins.h"

#include <QCursor>
#include <QWidget>

#include <memory>
#include <optional>

class QPushButton;
class QShortcut;

namespace joblist { class DropTarget; class JobList; class JobListView; class ReorderGesture; }

namespace app {

class ActionButton;
class ListMenu;
class PercentBar;

// The main window: its fixed layout and the wiring from each control's
// notifications to the handler that acts on it. The handlers' work lives in
// joblist/, sources/ and printing/.
class Form1 : public QWidget, public core::PointerOwner {
    Q_OBJECT

public:
    // `settings` are how its print runs go about their work; the window
    // reads no environment of its own. Where they print is the exception:
    // the printer settings the user last chose in the window, kept in the
    // user's configuration folder.
    explicit Form1(core::Desktop desktop, const printing::RunSettings &settings = {}, QWidget *parent = nullptr);
    ~Form1() override;

    core::MousePointer mousePointer() const override { return m_pointer; }
    void setMousePointer(core::MousePointer pointer) override;
    bool hasMouseIcon() const { return m_mouseIcon.has_value(); }

    joblist::JobList &jobs() { return *m_jobs; }
    joblist::JobListView *ListView1() const { return m_listView; }
    ActionButton *Check1() const { return m_check1; }
    ActionButton *Check6() const { return m_check6; }
    ActionButton *Check4() const { return m_check4; }
    ActionButton *Check2() const { return m_check2; }
    PercentBar *ProgressBar1() const { return m_progressBar; }
    QPushButton *Command1() const { return m_command1; }
    core::EventYield &eventYield() { return m_yield; }
    joblist::DropTarget &dropTarget() const { return *m_dropTarget; }
    joblist::ReorderGesture &reorderGesture() const { return *m_reorderGesture; }
    ListMenu &listMenu() const { return *m_listMenu; }
    // Esc: stops the run going on; enabled only during one.
    QShortcut &stopKey() const { return *m_stopKey; }
    printing::PrintRun &printRun() const { return *m_print.run; }
    printing::PrintQueue &printQueue() const { return *m_print.queue; }
    // The run's documents as one job, when the user chose so; says when the
    // run is over, its one job answered.
    printing::CombinedRun &combinedRun() const { return *m_combined; }
    // Where and how the next run prints, as the user last chose.
    const core::PrinterSettings &printerSettings() const { return m_printer; }
    // A message in the window's own message box.
    void showMessage(const QString &text, const QString &details = {});

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void buildControls(const printing::RunSettings &settings);
    void setTabOrder();
    void wireEvents();
    void load();
    void loadMouseIcon();

    void whenPressed(ActionButton *button, void (Form1::*action)());
    void Check1_Click();
    void Check6_Click();
    void Check4_Click();
    void Check2_Click();
    void editPrinterSettings();
    void editLoadingSettings();
    void describePrinterSettings();
    void passPrinterSettingsToRun();
    void ListView1_DblClick();
    void ListView1_ItemClick();
    void ListView1_MouseDown();
    void ListView1_MouseMove(const QPoint &point);
    void ListView1_MouseUp();
    void ListView1_ContextMenu(const QPoint &point);
    std::optional<core::Credentials> askCredentials(const QString &site, const QString &realm);
    void printRunFinished(const printing::RunReport &report);
    void showClosingMessageWhenNoDialogIsOpen(const printing::RunReport &report);
    void showClosingMessage(const printing::RunReport &report);

    core::Desktop m_desktop;
    core::EventYield m_yield;
    core::MousePointer m_pointer = core::MousePointer::Default;
    std::optional<QCursor> m_mouseIcon;

    joblist::JobList *m_jobs = nullptr;
    joblist::JobListView *m_listView = nullptr;
    joblist::DropTarget *m_dropTarget = nullptr;
    std::unique_ptr<joblist::ReorderGesture> m_reorderGesture;
    ActionButton *m_check1 = nullptr;
    ActionButton *m_check6 = nullptr;
    ActionButton *m_check4 = nullptr;
    ActionButton *m_check2 = nullptr;
    PercentBar *m_progressBar = nullptr;
    ListMenu *m_listMenu = nullptr;
    SiteSignIns m_siteSignIns{[this](const QString &site, const QString &realm) { return askCredentials(site, realm); }};
    QPushButton *m_command1 = nullptr;
    QShortcut *m_stopKey = nullptr;
    // Kept in the user's configuration; a run takes them when it begins.
    core::PrinterSettings m_printer;
    // What documents wait for beyond settling; kept beside the printer's.
    core::LoadingSettings m_loading;
    // Why the kept settings could not be read, until the user chooses anew.
    QString m_unreadPrinterSettings;
    // Owned here rather than as children, so that the run goes before the
    // queue it hands jobs to, and both before the job list they read.
    printing::AssembledRun m_print;
    // Goes before the run, whose signals it follows, and the sink it
    // switches.
    std::unique_ptr<printing::CombinedRun> m_combined;
    // The hourglass while a print run goes on by itself.
    std::optional<core::BusyPointer> m_printing;
};

} // namespace app

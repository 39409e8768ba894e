// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "actionbutton.h"
#include "hover.h"
#include "listmenu.h"
#include "windowicon.h"
#include "printersettingsstore.h"
#include "progressbar.h"
#include "startup.h"

#include "joblist/view/droptarget.h"
#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"
#include "joblist/view/reordergesture.h"
#include "core/appinfo.h"
#include "core/datafiles.h"
#include "core/messagetext.h"
#include "printing/combiningsink.h"
#include "printing/printqueue.h"
#include "printing/printrun.h"
#include "sources/addfoldercontents.h"
#include "sources/addlocalfiles.h"
#include "sources/addurllists.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTimer>

#include <functional>
#include <utility>

// The button pictures are compiled into this static library; their resource
// must be registered by name before the first window uses them.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace app {

using core::fromTwips;
using core::MousePointer;

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return {fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height)};
}

// The design is drawn for left-to-right languages; in a right-to-left one
// (Hebrew) the window is its mirror image, as Qt's layouts would make it.
// The controls are placed by hand, so they are mirrored here.
void place(QWidget *control, const QRect &designed)
{
    const QWidget *window = control->parentWidget();
    control->setGeometry(QStyle::visualRect(window->layoutDirection(), window->rect(), designed));
}

QFont arialBold(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QString listToolTip()
{
    return Form1::tr("Drag and drop files here. Double-click item to remove it. "
                     "Move bar to right and out of window to reveal full names.");
}

// What assistive technology says about the list and the buttons, besides
// their names: what each does, and the keys that do it without a mouse.
QString listName()
{
    return Form1::tr("HTML files to print");
}
QString listDescription()
{
    return Form1::tr("Entries print from top to bottom. Delete removes the selected entry; "
                     "Ctrl+Up and Ctrl+Down move it.");
}
QString check1Description()
{
    return Form1::tr("Choose HTML files on this computer and add them to the list.");
}
QString check6Description()
{
    return Form1::tr("Choose plain-text files of web addresses and add every address in them to the list.");
}
QString check4Description()
{
    return Form1::tr("Type a file extension and choose a folder: every file with that extension in the folder "
                     "and the folders below it is added to the list.");
}

// Calls back once, from the event loop, when the dialog it watches is hidden
// or goes away, whichever comes first; never after `context` has gone.
class CloseWatch final : public QObject {
public:
    CloseWatch(QWidget *dialog, QObject *context, std::function<void()> then)
        : QObject(dialog), m_context(context), m_then(std::move(then))
    {
        dialog->installEventFilter(this);
    }
    ~CloseWatch() override { fire(); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide) {
            fire();
            deleteLater();
        }
        return false;
    }

private:
    void fire()
    {
        if (m_context && m_then)
            QTimer::singleShot(0, m_context, std::exchange(m_then, {}));
    }

    QPointer<QObject> m_context;
    std::function<void()> m_then;
};

void whenClosed(QWidget *dialog, QObject *context, std::function<void()> then)
{
    new CloseWatch(dialog, context, std::move(then));
}

// The hand cursor's hot spot: the tip of its index finger.
constexpr QPoint HandHotSpot{12, 1};

} // namespace

Form1::Form1(core::Desktop desktop, const printing::RunSettings &settings, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                      | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_desktop(std::move(desktop))
{
    initPictures();
    buildControls(settings);
    setTabOrder();
    wireEvents();
    load();
}

Form1::~Form1()
{
    // The pages may outlive the window a moment; they must not ask it then.
    if (m_desktop.askSignIn)
        *m_desktop.askSignIn = {};
}

void Form1::buildControls(const printing::RunSettings &settings)
{
    setFixedSize(fromTwips(9255), fromTwips(4575));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setWindowIcon(programIcon());

    m_jobs = new joblist::JobList(this);
    m_listView = new joblist::JobListView(this);
    m_listView->setJobList(m_jobs);
    place(m_listView, twipsRect(120, 120, 9015, 2295));
    m_listView->setFont(arialBold(12));
    m_listView->setToolTip(listToolTip());
    m_listView->setAccessibleName(listName());
    m_listView->setAccessibleDescription(listDescription());
    m_dropTarget = new joblist::DropTarget(*m_jobs, m_listView->viewport(), this);
    m_reorderGesture = std::make_unique<joblist::ReorderGesture>(*m_jobs, *m_listView, *this);

    m_check1 = new ActionButton(tr("Add Local HTML File(s)"), QStringLiteral(":/pictures/addfiles.svg"), this);
    m_check6
        = new ActionButton(tr("Add Remote HTML URLs From Text File"), QStringLiteral(":/pictures/addurls.svg"), this);
    m_check4 = new ActionButton(tr(" Add All HTML Files In Folder"), QStringLiteral(":/pictures/addfolder.svg"), this);
    m_check2 = new ActionButton(tr("Print HTML Files"), QStringLiteral(":/pictures/print.svg"), this);
    place(m_check1, twipsRect(120, 2520, 2175, 1455));
    place(m_check6, twipsRect(2400, 2520, 2175, 1455));
    place(m_check4, twipsRect(4680, 2520, 2175, 1455));
    place(m_check2, twipsRect(6960, 2520, 2175, 1455));
    m_check1->setAccessibleDescription(check1Description());
    m_check6->setAccessibleDescription(check6Description());
    m_check4->setAccessibleDescription(check4Description());
    for (ActionButton *button : {m_check1, m_check6, m_check4, m_check2}) {
        button->setFont(arialBold(15));
        QPalette buttonPalette = button->palette();
        buttonPalette.setColor(QPalette::Button, Qt::white);
        button->setPalette(buttonPalette);
    }

    m_progressBar = new PercentBar(this);
    place(m_progressBar, twipsRect(120, 4080, 9015, 375));

    // Never visible (it lies left of the client area) and does nothing: it
    // holds the keyboard focus at start, so Enter or Space presses no action
    // and no action button shows a focus frame.
    m_command1 = new QPushButton(QStringLiteral("Command1"), this);
    place(m_command1, twipsRect(-720, 2640, 615, 495));

    // The print run and, behind it, the off-screen pages and the print
    // system's thread: no widget, and the engine starts only when the first
    // document loads. It prints where the user last chose in this window.
    StoredPrinterSettings stored = readPrinterSettings();
    m_printer = std::move(stored.settings);
    m_unreadPrinterSettings = std::move(stored.unreadable);
    printing::RunSettings runSettings = settings;
    runSettings.printer = m_printer;
    m_loading = stored.loading;
    runSettings.waitFor = m_loading.waitFor;
    runSettings.delay = m_loading.delay;
    runSettings.bookmarks = m_loading.combine;
    // One sink for runs of either kind: it combines only when the user
    // chose the run as one job.
    auto combining = std::make_unique<printing::CombiningSink>(
        std::shared_ptr<core::PrintSink>(std::move(m_desktop.printSink)), QDir::tempPath(), false);
    printing::CombiningSink &sink = *combining;
    m_print = printing::assembleRun(*m_jobs, m_desktop.renderers, std::move(combining), runSettings);
    m_combined = std::make_unique<printing::CombinedRun>(*m_print.run, *m_print.queue, *m_jobs, sink, m_desktop.renderers);
    m_combined->setCombining(m_loading.combine);
    m_combined->setContents(m_loading.contents);
    describePrinterSettings();
    m_listMenu = new ListMenu(*m_jobs, *m_print.run,
                              {*m_desktop.saveDialog, *m_desktop.messageBox, m_desktop.signIns.get()}, this);
    // A site asks for a password in a dialog of this window's, once a run.
    if (m_desktop.credentials && m_desktop.askSignIn) {
        *m_desktop.askSignIn = [this](const QUrl &url, const QString &realm) { return m_siteSignIns.answer(url, realm); };
    }
    connect(m_listMenu, &ListMenu::signInsForgotten, this, [this] { m_siteSignIns.forget(); });

    // Moves over the background reach the window only with tracking on.
    setMouseTracking(true);
}

void Form1::setTabOrder()
{
    QWidget *const order[] = {m_command1, m_check1, m_check2, m_listView, m_check4, m_progressBar, m_check6};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    m_command1->setFocus();
}

void Form1::wireEvents()
{
    whenPressed(m_check1, &Form1::Check1_Click);
    whenPressed(m_check6, &Form1::Check6_Click);
    whenPressed(m_check4, &Form1::Check4_Click);
    whenPressed(m_check2, &Form1::Check2_Click);
    // A press of Check2 prints at once, with no dialog; the settings it
    // prints with are reached beside it. A right-click opens them straight
    // away, as the menu key on the focused button does.
    m_check2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_check2, &QWidget::customContextMenuRequested, this, &Form1::editPrinterSettings);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this), &QShortcut::activated, this,
            &Form1::editPrinterSettings);
    // What documents wait for, beside the printer settings: L for loading.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this), &QShortcut::activated, this,
            &Form1::editLoadingSettings);
    m_listView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_listView, &QWidget::customContextMenuRequested, this, &Form1::ListView1_ContextMenu);
    connect(m_listView, &joblist::JobListView::listDoubleClicked, this, &Form1::ListView1_DblClick);
    // Delete does exactly what a double-click does.
    connect(m_listView, &joblist::JobListView::deletePressed, this, &Form1::ListView1_DblClick);
    connect(m_listView, &joblist::JobListView::moveKeyPressed, this,
            [this](int delta) { m_reorderGesture->moveSelectedBy(delta); });
    connect(m_listView, &joblist::JobListView::entryClicked, this, &Form1::ListView1_ItemClick);
    connect(m_listView, &joblist::JobListView::buttonPressed, this, &Form1::ListView1_MouseDown);
    connect(m_listView, &joblist::JobListView::pointerMoved, this, &Form1::ListView1_MouseMove);
    connect(m_listView, &joblist::JobListView::buttonReleased, this, &Form1::ListView1_MouseUp);
    for (ActionButton *button : {m_check1, m_check6, m_check4, m_check2})
        connect(button, &ActionButton::pointerMoved, this, [this] { showHandOverButton(*this); });
    connect(m_print.run.get(), &printing::PrintRun::started, this, [this] {
        m_siteSignIns.forget();
        m_printing.emplace(*this);
        m_stopKey->setEnabled(true);
    });
    // Esc belongs to the run only while there is one: between runs the key
    // goes wherever it would go without it. Dialogs are windows of their
    // own, so their Esc never reaches this one.
    m_stopKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_stopKey->setEnabled(false);
    connect(m_stopKey, &QShortcut::activated, m_print.run.get(), &printing::PrintRun::stop);
    connect(m_print.run.get(), &printing::PrintRun::progress, m_progressBar, &PercentBar::setPercent);
    connect(m_combined.get(), &printing::CombinedRun::finished, this, &Form1::printRunFinished);
}

// The load sequence, run once before the window is first shown.
void Form1::load()
{
    CenterForm(*this);
    loadMouseIcon();
    MaybeOpenHomePage(*m_desktop.random, *m_desktop.launcher);
    setWindowTitle(core::applicationTitle());
    m_jobs->addColumnHeader(tr("HTML File(s)"));
    m_listView->header()->resizeSection(0, fromTwips(7000));
    QPalette barPalette = m_progressBar->palette();
    barPalette.setColor(QPalette::Base, Qt::white);
    barPalette.setColor(QPalette::Window, Qt::white);
    m_progressBar->setPalette(barPalette);
}

void Form1::loadMouseIcon()
{
    const QString path = core::findDataFile(QStringLiteral("HAND-M.CUR"));
    if (!FileExists(path))
        return;
    // A file that exists but holds no readable image leaves the window
    // without a custom pointer; the arrow shows instead.
    const QPixmap hand(path, "ICO");
    if (!hand.isNull())
        m_mouseIcon = QCursor(hand, HandHotSpot.x(), HandHotSpot.y());
}

void Form1::setMousePointer(MousePointer pointer)
{
    m_pointer = pointer;
    switch (pointer) {
    case MousePointer::Busy:
        setCursor(Qt::WaitCursor);
        break;
    case MousePointer::Custom:
        setCursor(m_mouseIcon.value_or(QCursor(Qt::ArrowCursor)));
        break;
    case MousePointer::Default:
    case MousePointer::Arrow:
        setCursor(Qt::ArrowCursor);
        break;
    }
}

// The action buttons are two-state: a click presses or raises them. Only the
// change to pressed acts, and it first raises the button again; the
// notification that raises is ignored, so one press runs one action.
void Form1::whenPressed(ActionButton *button, void (Form1::*action)())
{
    connect(button, &QAbstractButton::toggled, this, [this, button, action](bool pressed) {
        if (!pressed)
            return;
        button->setChecked(false);
        (this->*action)();
    });
}

void Form1::Check1_Click()
{
    sources::addLocalFiles(*m_desktop.fileDialog, this, *m_jobs);
}

void Form1::Check6_Click()
{
    sources::addUrlLists(*m_desktop.fileDialog, *m_desktop.messageBox, this, *this, m_yield, *m_jobs);
}

void Form1::Check4_Click()
{
    sources::addFolderContents({*m_desktop.inputBox, *m_desktop.folderBrowser, *m_desktop.messageBox},
                               {this, *this, m_yield}, *m_jobs);
}

// Settings that could not be read say nothing about where to print; the
// default printer may be the wrong one, so nothing prints until the user
// has chosen.
void Form1::Check2_Click()
{
    if (!m_unreadPrinterSettings.isEmpty()) {
        showMessage(m_unreadPrinterSettings);
        return;
    }
    // The last run's one job is still on its way; its entries are not yet
    // marked.
    if (m_combined->sending())
        return;
    m_print.run->run();
}

// OK keeps the choice for this and later starts; Cancel leaves everything
// as it was.
void Form1::editPrinterSettings()
{
    const std::optional<core::PrinterSettings> chosen = m_desktop.printerSettings->edit(this, m_printer);
    if (!chosen)
        return;
    m_printer = *chosen;
    m_unreadPrinterSettings.clear();
    const QString unkept = savePrinterSettings(m_printer);
    describePrinterSettings();
    passPrinterSettingsToRun();
    if (!unkept.isEmpty())
        showMessage(unkept);
}

void Form1::describePrinterSettings()
{
    QString description = m_unreadPrinterSettings.isEmpty()
        ? core::describePrinting(m_printer)
        : tr("Prints nowhere until a printer is chosen with Ctrl+P: the printer settings could not be read");
    if (m_loading.combine)
        description += QStringLiteral(". ") + tr("All documents go out as one job.");
    if (m_loading.combine && m_loading.contents)
        description += u' ' + tr("It begins with a contents page.");
    m_check2->setToolTip(description);
    m_check2->setAccessibleDescription(description);
}

// A selector the engine refuses would only make every document wait for its
// bound: it is named at once, and the settings stay as they were.
void Form1::editLoadingSettings()
{
    if (!m_desktop.loadingSettings)
        return;
    const std::optional<core::LoadingSettings> chosen = m_desktop.loadingSettings->edit(this, m_loading);
    if (!chosen || *chosen == m_loading)
        return;
    if (!chosen->waitFor.isEmpty() && m_desktop.selectorRejected && m_desktop.selectorRejected(chosen->waitFor)) {
        showMessage(tr("\"%1\" is not a CSS selector, so the loading settings were left as they were.")
                        .arg(core::oneLine(chosen->waitFor)));
        return;
    }
    m_loading = *chosen;
    const QString unkept = saveLoadingSettings(m_loading);
    m_combined->setCombining(m_loading.combine);
    m_combined->setContents(m_loading.contents);
    describePrinterSettings();
    passPrinterSettingsToRun();
    if (!unkept.isEmpty())
        showMessage(unkept);
}

// A run under way keeps printing as it began; settings chosen meanwhile
// wait for it to finish.
void Form1::passPrinterSettingsToRun()
{
    const printing::RunSettings &now = m_print.run->settings();
    if (m_print.run->running()
        || (now.printer == m_printer && now.waitFor == m_loading.waitFor && now.delay == m_loading.delay
            && now.bookmarks == m_loading.combine))
        return;
    printing::RunSettings settings = now;
    settings.printer = m_printer;
    settings.waitFor = m_loading.waitFor;
    settings.delay = m_loading.delay;
    // The one document of a run carries its headings as bookmarks beneath
    // each document's own, as the command line's does; separate jobs need
    // none, since a printer shows no bookmarks.
    settings.bookmarks = m_loading.combine;
    m_print.run->setSettings(settings);
}

void Form1::showMessage(const QString &text, const QString &details)
{
    m_desktop.messageBox->show(this, text, details);
}

// The message opens from the event loop, not inside the run's own
// notification, which must be over before anything modal begins.
void Form1::printRunFinished(const printing::RunReport &report)
{
    m_stopKey->setEnabled(false);
    passPrinterSettingsToRun();
    QTimer::singleShot(0, this, [this, report] { showClosingMessageWhenNoDialogIsOpen(report); });
}

// A run may end while the user works in a dialog (picking files, typing an
// extension). A message opened over it would take the keys typed for the
// dialog, and a key meant for it would dismiss the message unseen; so the
// message waits until no dialog is open.
void Form1::showClosingMessageWhenNoDialogIsOpen(const printing::RunReport &report)
{
    if (QWidget *dialog = QApplication::activeModalWidget(); dialog && dialog != this) {
        whenClosed(dialog, this, [this, report] { showClosingMessageWhenNoDialogIsOpen(report); });
        return;
    }
    showClosingMessage(report);
}

// The bar still shows the last step and the pointer the hourglass while the
// closing message is up; both go back when it is dismissed.
void Form1::showClosingMessage(const printing::RunReport &report)
{
    showMessage(printing::closingMessage(report), printing::closingDetails(report));
    m_progressBar->setPercent(0);
    m_printing.reset();
}

void Form1::ListView1_DblClick()
{
    joblist::removeSelectedEntry(*m_jobs, *m_listView);
}

// Picking an entry up turns drops off until the button comes up again, so
// the list never stays closed to drops after a click.
void Form1::ListView1_ItemClick()
{
    m_reorderGesture->entryClick();
    m_dropTarget->setDropMode(joblist::DropMode::None);
}

void Form1::ListView1_MouseDown()
{
    m_reorderGesture->buttonPressed();
}

void Form1::ListView1_MouseMove(const QPoint &point)
{
    m_reorderGesture->pointerMoved(point);
}

void Form1::ListView1_MouseUp()
{
    m_reorderGesture->buttonReleased();
    m_dropTarget->setDropMode(joblist::DropMode::Manual);
}

// The point is in the viewport's coordinates, as a scroll area gives them.
// The menu takes the release of the button that opened it, so the list
// hears of the release now: a reorder gesture must not go on after the menu
// has closed.
void Form1::ListView1_ContextMenu(const QPoint &point)
{
    ListView1_MouseUp();
    const QModelIndex at = m_listView->indexAt(point);
    const int position = at.isValid() ? at.row() + 1 : m_listView->selectedPosition();
    m_listMenu->popup(m_listView->viewport()->mapToGlobal(point), position > 0 ? m_jobs->text(position) : QString());
}

std::optional<core::Credentials> Form1::askCredentials(const QString &site, const QString &realm)
{
    return m_desktop.credentials->ask(this, site, realm);
}

// Moves over a control reach the window too when the control passes them
// on; only those over the bare background count here.
void Form1::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        showArrowOverBackground(*this);
    QWidget::mouseMoveEvent(event);
}

// Closing ends the program at once: nothing is asked or saved, and a long
// action still running learns at its next yield that it must stop.
void Form1::closeEvent(QCloseEvent *event)
{
    m_yield.markClosed();
    m_print.run->abandon();
    event->accept();
}

} // namespace app

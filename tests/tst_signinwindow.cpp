// SPDX-License-Identifier: GPL-3.0-or-later
// Signing in from the window: its answers to sites that ask for a password
// (once a site and run, used only where given), and the window itself with
// the real engine and a profile folder of the test's own, signing in through
// its sign-in window, starting again, and forgetting the sign-ins.
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "app/window/listmenu.h"
#include "app/window/sitesignins.h"
#include "joblist/joblist.h"
#include "joblist/marks.h"
#include "platform/desktop/signinwindow.h"
#include "platform/engine/enginerenderer.h"
#include "platform/printers/foldersink.h"
#include "printing/printrun.h"
#include "support/fakedesktop.h"
#include "support/printrig.h"
#include "support/signinserver.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace Qt::StringLiterals;
using joblist::Mark;

namespace {

// A credentials dialog that answers from a script and counts its uses.
struct ScriptedCredentials final : core::CredentialsDialog {
    std::optional<core::Credentials> answer;
    QStringList asked;  // "site realm", one per use
    std::function<void()> whileOpen;
    std::optional<core::Credentials> ask(QWidget *, const QString &site, const QString &realm) override
    {
        asked << site + u' ' + realm;
        if (whileOpen)
            whileOpen();
        return answer;
    }
};

const core::Credentials Right{QString::fromLatin1(SignInServer::User), QString::fromLatin1(SignInServer::Password)};

// The window with the real engine over a profile kept in `profileFolder`,
// a scripted credentials dialog, and PDF files for a printer.
struct Window {
    FakeDesktop fakes;
    ScriptedCredentials *credentials = nullptr;
    QTemporaryDir printed;
    std::shared_ptr<platform::SharedProfile> profile;
    std::unique_ptr<app::Form1> form;

    explicit Window(const QString &profileFolder)
    {
        core::Desktop desktop = fakes.make();
        desktop.printSink = std::make_unique<platform::FolderSink>(printed.path());
        core::SignIn signIn;
        signIn.profileFolder = profileFolder;
        profile = std::make_shared<platform::SharedProfile>(signIn);
        desktop.renderers = platform::engineRenderers(profile, desktop.askSignIn);
        desktop.signIns = platform::makeSignInWindows(profile);
        auto scripted = std::make_unique<ScriptedCredentials>();
        credentials = scripted.get();
        desktop.credentials = std::move(scripted);
        form = std::make_unique<app::Form1>(std::move(desktop));
        printing::RunSettings settings;
        settings.documentBound = std::chrono::seconds(20);
        // Two pages at once, so that one asks while the other's dialog is open.
        settings.renderers = 2;
        form->printRun().setSettings(settings);
    }

    ~Window()
    {
        form.reset();
        profile.reset();
        // Pages let go of later would outlive their profile.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    joblist::JobList &jobs() { return form->jobs(); }

    bool print()
    {
        QSignalSpy finished(&form->printRun(), &printing::PrintRun::finished);
        form->Check2()->click();
        return !finished.isEmpty() || finished.wait(60'000);
    }

    int printedCount() const { return int(QDir(printed.path()).entryList({u"*.pdf"_s}, QDir::Files).size()); }

    // The text of the last document written, which it then takes away.
    QString lastPrinted(const QTemporaryDir &) const
    {
        const QStringList files = QDir(printed.path()).entryList({u"*.pdf"_s}, QDir::Files, QDir::Time);
        if (files.isEmpty())
            return {};
        const QString path = printed.filePath(files.constFirst());
        const QString text = rig::pdfText(path);
        QFile::remove(path);
        return text;
    }
};

bool fileHolds(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().contains(bytes);
}

QWidget *signInWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"signInWindow" && widget->isVisible())
            return widget;
    }
    return nullptr;
}

} // namespace

class TestSignInWindow : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        platform::letHiddenPagesKeepTime();
    }

private Q_SLOTS:
    // What the window answers each request, in order, with the dialog
    // answering `given` (nothing: Cancel) the one time it is asked.
    void siteSignIns_data()
    {
        QTest::addColumn<QStringList>("requests");  // "address realm"
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QStringList>("answers");   // "credentials", "refused", "nothing"
        QTest::addColumn<int>("dialogs");

        QStringList tenOfOneSite;
        for (int i = 0; i < 10; ++i)
            tenOfOneSite << u"http://intra/r%1 Reports"_s.arg(i);
        QTest::newRow("ten entries of one site, OK") << tenOfOneSite << false
                                                     << QStringList(10, u"credentials"_s) << 1;
        QTest::newRow("ten entries of one site, Cancel") << tenOfOneSite << true << QStringList(10, u"refused"_s) << 1;
        QTest::newRow("another realm of the site gets nothing")
            << QStringList{u"http://intra/a Reports"_s, u"http://intra/b Admin"_s} << false
            << QStringList{u"credentials"_s, u"nothing"_s} << 1;
        QTest::newRow("another port is another site")
            << QStringList{u"http://intra/a Reports"_s, u"http://intra:8080/a Reports"_s} << false
            << QStringList{u"credentials"_s, u"credentials"_s} << 2;
        QTest::newRow("another scheme is another site")
            << QStringList{u"https://intra/a Reports"_s, u"http://intra/a Reports"_s} << true
            << QStringList{u"refused"_s, u"refused"_s} << 2;
        QTest::newRow("user name in the address does not make another site")
            << QStringList{u"http://intra/a Reports"_s, u"http://eve@intra/a Reports"_s} << false
            << QStringList{u"credentials"_s, u"credentials"_s} << 1;
    }

    void siteSignIns()
    {
        QFETCH(QStringList, requests);
        QFETCH(bool, cancel);
        QFETCH(QStringList, answers);
        QFETCH(int, dialogs);
        int asked = 0;
        app::SiteSignIns sites([&](const QString &, const QString &) -> std::optional<core::Credentials> {
            ++asked;
            return cancel ? std::nullopt : std::optional(Right);
        });
        for (qsizetype i = 0; i < requests.size(); ++i) {
            const QStringList parts = requests.at(i).split(u' ');
            const core::SignInAnswer answer = sites.answer(QUrl(parts.at(0)), parts.at(1));
            const QString got = answer.credentials ? u"credentials"_s : answer.refused ? u"refused"_s : u"nothing"_s;
            QCOMPARE(got, answers.at(i));
        }
        QCOMPARE(asked, dialogs);
    }

    // A page of the site asking while its dialog is open waits for the
    // answer instead of opening another.
    void siteSignIns_askedWhileAsking()
    {
        std::optional<core::SignInAnswer> during;
        app::SiteSignIns *self = nullptr;
        int asked = 0;
        app::SiteSignIns sites([&](const QString &, const QString &) -> std::optional<core::Credentials> {
            ++asked;
            during = self->answer(QUrl(u"http://intra/b"_s), u"R"_s);
            return Right;
        });
        self = &sites;
        QVERIFY(sites.answer(QUrl(u"http://intra/a"_s), u"R"_s).credentials);
        QCOMPARE(asked, 1);
        QVERIFY(during && during->pending && !during->credentials);
        QVERIFY(sites.answer(QUrl(u"http://intra/b"_s), u"R"_s).credentials);
        sites.forget();
        QVERIFY(sites.answer(QUrl(u"http://intra/b"_s), u"R"_s).credentials);
        QCOMPARE(asked, 2);
    }

    // A Basic realm asks once for ten entries of its site; Cancel fails them
    // all with its reason, OK prints them all.
    void basicRealmAsksOnce_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("OK") << false;
        QTest::newRow("Cancel") << true;
    }

    void basicRealmAsksOnce()
    {
        QFETCH(bool, cancel);
        SignInServer site;
        QVERIFY(site.listening());
        QTemporaryDir profile;
        Window window(profile.filePath(u"profile"_s));
        if (!cancel)
            window.credentials->answer = Right;
        // The user takes a while: the other page of the site asks meanwhile,
        // and waits for this answer instead of opening a dialog of its own.
        window.credentials->whileOpen = [&site] {
            QVERIFY(QTest::qWaitFor([&site] { return site.count("/basic") >= 2; }, 20'000));
        };
        for (int i = 0; i < 10; ++i)
            window.jobs().add(site.url(u"/basic?n=%1"_s.arg(i)));
        QVERIFY(window.print());
        QCOMPARE(window.credentials->asked.size(), 1);
        QCOMPARE(window.credentials->asked.constFirst(), site.base() + u" Reports"_s);
        for (int position = 1; position <= 10; ++position) {
            if (cancel) {
                QCOMPARE(window.jobs().mark(position), Mark::NotPrinted);
                QCOMPARE(window.jobs().reason(position), u"sign-in refused"_s);
            } else {
                QCOMPARE(window.jobs().reason(position), QString());
                QCOMPARE(window.jobs().mark(position), Mark::Printed);
            }
        }
        QCOMPARE(window.printedCount(), cancel ? 0 : 10);
    }

    // Signed in through the sign-in window, the report prints, in this
    // window and in a new one over the same profile folder, until the
    // sign-ins are forgotten.
    void signInThroughTheWindow()
    {
        SignInServer site;
        QVERIFY(site.listening());
        QTemporaryDir folder;
        const QString profile = folder.filePath(u"profile"_s);
        const QString report = site.url(u"/report"_s);
        {
            Window window(profile);
            window.jobs().add(report);
            app::ListMenu &menu = window.form->listMenu();
            menu.popup(window.form->mapToGlobal(QPoint(10, 10)), report);
            QVERIFY(menu.signInAction()->isVisible());
            QCOMPARE(menu.signInAction()->text(), u"Sign in to 127.0.0.1..."_s);
            menu.menu()->hide();
            menu.signInAction()->trigger();
            QTRY_VERIFY(signInWindow());
            auto *view = signInWindow()->findChild<QWebEngineView *>();
            QVERIFY(view);
            // The site sends the window to its form; the user fills it in.
            QTRY_VERIFY_WITH_TIMEOUT(view->url().path() == u"/login", 30'000);
            QTRY_VERIFY_WITH_TIMEOUT(!view->page()->isLoading(), 30'000);
            view->page()->runJavaScript(u"document.forms[0].user.value = '%1';"
                                        "document.forms[0].password.value = '%2';"
                                        "document.forms[0].submit();"_s.arg(QString::fromLatin1(SignInServer::User),
                                                                           QString::fromLatin1(SignInServer::Password)));
            QTRY_VERIFY_WITH_TIMEOUT(view->url().path() == u"/report" && !view->page()->isLoading(), 30'000);
            signInWindow()->close();
            QTRY_VERIFY(!signInWindow());
            QVERIFY(window.print());
            QCOMPARE(window.jobs().reason(1), QString());
            QCOMPARE(window.jobs().mark(1), Mark::Printed);
            QVERIFY2(window.lastPrinted(folder).contains(u"Quarterly report"_s), qPrintable(window.lastPrinted(folder)));
        }
        // The engine writes what the site set to the profile folder as the
        // profile goes, on a thread of its own.
        QTRY_VERIFY_WITH_TIMEOUT(fileHolds(profile + u"/Cookies"_s, SignInServer::Session), 30'000);
        {
            // Started again over the same profile: still signed in.
            Window again(profile);
            again.jobs().add(report);
            QVERIFY(again.print());
            QVERIFY2(again.lastPrinted(folder).contains(u"Quarterly report"_s), qPrintable(again.lastPrinted(folder)));
            QCOMPARE(again.jobs().reason(1), QString());
            // Forgotten, the site sends the page to its form again, and the
            // entry says so.
            QSignalSpy removed(again.profile->profile()->cookieStore(), &QWebEngineCookieStore::cookieRemoved);
            again.form->listMenu().forgetSignInsAction()->trigger();
            QTRY_VERIFY(!removed.isEmpty());
            QVERIFY(again.print());
            QCOMPARE(again.jobs().reason(1), u"ended at "_s + site.url(u"/login?next=/report"_s));
            const QString form = again.lastPrinted(folder);
            QVERIFY2(form.contains(u"Sign in"_s), qPrintable(form));
        }
        QCOMPARE(QFileInfo(profile).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    }

    void signInOfferedForWebPagesOnly_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("offered");
        QTest::newRow("web page") << u"https://intra.example/r"_s << true;
        QTest::newRow("local file") << u"/home/ann/a.htm"_s << false;
        QTest::newRow("data address") << u"data:text/html,x"_s << false;
        QTest::newRow("no entry") << QString() << false;
    }

    void signInOfferedForWebPagesOnly()
    {
        QFETCH(QString, entry);
        QFETCH(bool, offered);
        QTemporaryDir profile;
        Window window(profile.filePath(u"p"_s));
        app::ListMenu &menu = window.form->listMenu();
        menu.popup(window.form->mapToGlobal(QPoint(10, 10)), entry);
        QCOMPARE(menu.signInAction()->isVisible(), offered);
        QVERIFY(menu.forgetSignInsAction()->isVisible());
        menu.menu()->hide();
    }
};

int main(int argc, char *argv[])
{
    TestSignInWindow::initMain();
    QApplication application(argc, argv);
    TestSignInWindow test;
    const int failures = QTest::qExec(&test, argc, argv);
    platform::endAtOnceIfPagesStillRender(failures);
    return failures;
}

#include "tst_signinwindow.moc"

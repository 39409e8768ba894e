// SPDX-License-Identifier: GPL-3.0-or-later
// The unattended page on the real engine, with every page in one renderer
// process, as the engine may put pages of one site together: a page given
// up must not end a renderer another page still uses.
#include "platform/engine/unattendedpage.h"

#include "support/processes.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEngineProfile>

#include <memory>

namespace {

bool loadPage(platform::UnattendedPage &page, const QString &heading)
{
    QSignalSpy finished(&page, &QWebEnginePage::loadFinished);
    page.setHtml(u"<!doctype html><h1>" + heading + u"</h1>");
    return (!finished.isEmpty() || finished.wait(30000)) && finished.first().first().toBool();
}

} // namespace

class TestUnattendedPage : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--renderer-process-limit=1");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }

private Q_SLOTS:
    void retiringAPage_leavesTheRendererAnotherPageUses()
    {
        const std::shared_ptr<QWebEngineProfile> profile = platform::makeUnattendedProfile();
        {
            platform::UnattendedPage staying(profile.get());
            auto *leaving = new platform::UnattendedPage(profile.get());
            QVERIFY(loadPage(staying, QStringLiteral("Staying")));
            QVERIFY(loadPage(*leaving, QStringLiteral("Leaving")));
            const qint64 renderer = staying.renderProcessPid();
            QVERIFY(renderer > 0);
            QCOMPARE(leaving->renderProcessPid(), renderer);
            QSignalSpy gone(&staying, &QWebEnginePage::renderProcessTerminated);

            // Given up as a page stuck in a script is: its renderer is to go.
            leaving->retire(true);

            QVariant answer;
            staying.runJavaScript(QStringLiteral("document.querySelector('h1').textContent"),
                                  [&answer](const QVariant &result) { answer = result; });
            QTRY_COMPARE_WITH_TIMEOUT(answer.toString(), QStringLiteral("Staying"), 30000);
            QVERIFY(gone.isEmpty());
            QVERIFY(processes::running(renderer));
            // Left for what it is: a renderer of the program's own.
            QVERIFY(staying.renderer());
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestUnattendedPage)
#include "tst_unattendedpage.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// A request to end becomes an event the program answers in its own time,
// once; a second request ends it at once.
#include "platform/files/endrequest.h"

#include <QCoreApplication>
#include <QTest>

#include <csignal>

class TestEndRequest : public QObject {
    Q_OBJECT

private slots:
    void requestIsAnsweredOnTheEventLoop_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void requestIsAnsweredOnTheEventLoop()
    {
        QFETCH(int, signal);
        int asked = 0;
        platform::onEndRequest([&asked] { ++asked; });
        ::raise(signal);
        // Still here: the signal only asked.
        QTRY_COMPARE(asked, 1);
        // The answer leaves the signals to end the process; not raised
        // again here, the next row listens anew.
        platform::onEndRequest({});
    }
};

QTEST_GUILESS_MAIN(TestEndRequest)
#include "tst_endrequest.moc"

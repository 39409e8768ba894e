// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtoend.h"

#include "printrun.h"

#include <QEventLoop>
#include <QTimer>

namespace printing {

RunReport runToEnd(PrintRun &run)
{
    QEventLoop loop;
    RunReport report;
    QObject::connect(&run, &PrintRun::finished, &loop, [&](const RunReport &finished) {
        report = finished;
        loop.quit();
    });
    run.run();
    if (run.running())
        loop.exec();
    return report;
}

bool waitForAnswers(PrintRun &run, std::chrono::milliseconds limit, const std::function<bool()> &awaited)
{
    if (!run.following())
        return true;
    QEventLoop loop;
    bool answered = false;
    QObject::connect(&run, &PrintRun::allAnswered, &loop, [&] {
        answered = true;
        loop.quit();
    });
    if (awaited) {
        QObject::connect(&run, &PrintRun::entryAnswered, &loop, [&] {
            if (!awaited())
                loop.quit();
        });
    }
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec();
    return answered;
}

} // namespace printing

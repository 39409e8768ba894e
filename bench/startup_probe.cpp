// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up, as in src/app/main.cpp, that reports on standard
// output the moment the main window is first shown and then quits.
#include "app/window/form1.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {
class ShownReporter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose || event->type() == QEvent::Show) {
            std::puts("shown");
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            watched->removeEventFilter(this);
        }
        return false;
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    app::Form1 window(core::makeQtDesktop());
    ShownReporter reporter;
    window.installEventFilter(&reporter);
    window.show();
    return application.exec();
}

#include "form1.h"

#include "platform/enginerenderer.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The browser engine that prints shares its graphics context with the
    // window; this must be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::prepareEngineSandbox();
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tavimark"));

    app::Form1 window(platform::makeQtDesktop());
    window.show();
    return application.exec();
}

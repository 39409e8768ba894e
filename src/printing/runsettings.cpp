#include "runsettings.h"

#include <QThread>
#include <QtGlobal>

#include <algorithm>

namespace printing {

int RunSettings::defaultRenderers()
{
    return std::clamp(QThread::idealThreadCount(), 2, MaxRenderers);
}

RunSettings RunSettings::fromEnvironment()
{
    RunSettings settings;
    bool ok = false;
    const int renderers = qEnvironmentVariableIntValue("TAVIMARK_RENDERERS", &ok);
    if (ok && renderers >= 1)
        settings.renderers = std::min(renderers, MaxRenderers);
    if (qEnvironmentVariable("TAVIMARK_HEADERS") == u"0")
        settings.headings = false;
    const double seconds = qEnvironmentVariable("TAVIMARK_TIMEOUT").toDouble(&ok);
    if (ok && seconds > 0)
        settings.documentBound = std::chrono::milliseconds(qint64(seconds * 1000));
    return settings;
}

} // namespace printing

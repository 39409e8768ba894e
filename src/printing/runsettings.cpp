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
    return settings;
}

} // namespace printing

// SPDX-License-Identifier: GPL-3.0-or-later
#include "runsettings.h"

#include <QThread>
#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace printing {

int RunSettings::defaultRenderers()
{
    return std::clamp(QThread::idealThreadCount(), 2, MaxRenderers);
}

bool RunSettings::boundInRange(double seconds)
{
    return std::isfinite(seconds) && seconds >= MinBoundSeconds && seconds <= MaxBoundSeconds;
}

core::Readiness RunSettings::readiness() const
{
    core::Readiness readiness;
    readiness.bound = documentBound;
    readiness.waitFor = waitFor;
    readiness.delay = delay;
    readiness.settle = settle;
    return readiness;
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
    if (ok && boundInRange(seconds))
        settings.documentBound = std::chrono::milliseconds(qint64(seconds * 1000));
    return settings;
}

} // namespace printing

// SPDX-License-Identifier: GPL-3.0-or-later
#include "standarderror.h"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

StandardErrorSetAside::StandardErrorSetAside()
{
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0)
        return;
    std::fflush(stderr);
    m_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (m_saved >= 0)
        ::dup2(nowhere, STDERR_FILENO);
    ::close(nowhere);
}

void StandardErrorSetAside::restore()
{
    if (m_saved < 0)
        return;
    std::fflush(stderr);
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
    m_saved = -1;
}

} // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageSize>

#include <optional>

typedef struct _http_s http_t;
typedef struct cups_dest_s cups_dest_t;
typedef struct _cups_dinfo_s cups_dinfo_t;

namespace platform {

// The paper a CUPS printer loads unless told otherwise: the user's own
// default for the queue (lpoptions' media), else the printer's media-default,
// else the first paper it has ready; nothing when it names none (a raw
// queue). Which paper a run's settings choose instead is not its business.
std::optional<QPageSize> printersOwnPaper(http_t *http, cups_dest_t *dest, cups_dinfo_t *info);

} // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reasontext.h"

#include <QString>

namespace core {

// Why the engine could not load a document, as it reports it.
struct LoadError {
    enum class Domain { None, Internal, Connection, Certificate, Http, Ftp, Dns };
    Domain domain = Domain::None;
    int code = 0;        // the engine's network error number, or the HTTP status
    QString text;        // the engine's own words, in English
    bool passwordAsked = false;  // the server (or a proxy) demanded credentials
};

// The failure in words for the user, as it stands after an entry in the
// closing message ("file not found", "the server answered with HTTP status
// 404", ...).
QString describeLoadFailure(const LoadError &error);

// Why no document of a run could be made once the engine can no longer
// start the processes that load them, for every entry left.
inline QString engineFailed()
{
    return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the browser engine failed"));
}

} // namespace core

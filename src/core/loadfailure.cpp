// SPDX-License-Identifier: GPL-3.0-or-later
#include "loadfailure.h"

namespace core {

namespace {

// The engine's network error numbers the user is told about in words.
constexpr int ErrAborted = -3;
constexpr int ErrFileNotFound = -6;
constexpr int ErrAccessDenied = -10;
constexpr int ErrConnectionRefused = -102;
constexpr int ErrNameNotResolved = -105;
constexpr int ErrNameResolutionFailed = -137;
constexpr int ErrUnsafePort = -312;

} // namespace

QString describeLoadFailure(const LoadError &error)
{
    if (error.passwordAsked || (error.domain == LoadError::Domain::Http && (error.code == 401 || error.code == 407)))
        return QStringLiteral("the server asks for a password");
    switch (error.code) {
    case ErrAborted:
        return QStringLiteral("not a page that can be printed");
    case ErrFileNotFound:
        return QStringLiteral("file not found");
    case ErrAccessDenied:
        return QStringLiteral("the file cannot be read");
    case ErrConnectionRefused:
        return QStringLiteral("the connection was refused");
    case ErrNameNotResolved:
    case ErrNameResolutionFailed:
        return QStringLiteral("unknown host");
    case ErrUnsafePort:
        return QStringLiteral("browsers refuse that port");
    default:
        break;
    }
    switch (error.domain) {
    case LoadError::Domain::Http:
        if (error.code > 0)
            return u"the server answered with HTTP status " + QString::number(error.code);
        break;
    case LoadError::Domain::Certificate:
        return QStringLiteral("the site's certificate is not trusted");
    case LoadError::Domain::Dns:
        return QStringLiteral("unknown host");
    default:
        break;
    }
    const QString detail = error.text.trimmed();
    return detail.isEmpty() ? QStringLiteral("it could not be loaded") : u"it could not be loaded (" + detail + u')';
}

} // namespace core

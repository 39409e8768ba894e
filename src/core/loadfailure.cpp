// SPDX-License-Identifier: GPL-3.0-or-later
#include "loadfailure.h"
#include "reasontext.h"

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
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the server asks for a password"));
    switch (error.code) {
    case ErrAborted:
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "not a page that can be printed"));
    case ErrFileNotFound:
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "file not found"));
    case ErrAccessDenied:
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the file cannot be read"));
    case ErrConnectionRefused:
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the connection was refused"));
    case ErrNameNotResolved:
    case ErrNameResolutionFailed:
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "unknown host"));
    case ErrUnsafePort:
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "browsers refuse that port"));
    default:
        break;
    }
    switch (error.domain) {
    case LoadError::Domain::Http:
        if (error.code > 0)
            return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the server answered with HTTP status %1"))
                .arg(error.code);
        break;
    case LoadError::Domain::Certificate:
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the site's certificate is not trusted"));
    case LoadError::Domain::Dns:
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "unknown host"));
    default:
        break;
    }
    const QString detail = error.text.trimmed();
    return detail.isEmpty() ? core::reasonText(QT_TRANSLATE_NOOP("Reason", "it could not be loaded"))
                            : core::reasonText(QT_TRANSLATE_NOOP("Reason", "it could not be loaded (%1)")).arg(detail);
}

} // namespace core

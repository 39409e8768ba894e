// SPDX-License-Identifier: GPL-3.0-or-later
#include "printerpaper.h"

#include <cups/cups.h>
#include <cups/pwg.h>

#include <QSizeF>

namespace platform {

namespace {

// A media name's size; CUPS measures media in hundredths of a millimetre.
std::optional<QPageSize> paperOf(const char *media)
{
    if (!media || !*media)
        return std::nullopt;
    pwg_media_t *known = pwgMediaForPWG(media);
    if (!known)
        known = pwgMediaForLegacy(media);
    if (!known)
        known = pwgMediaForPPD(media);
    if (!known || known->width <= 0 || known->length <= 0)
        return std::nullopt;
    return QPageSize(QSizeF(known->width / 100.0, known->length / 100.0), QPageSize::Millimeter, {},
                     QPageSize::FuzzyMatch);
}

const char *firstValue(ipp_attribute_t *attribute)
{
    return attribute && ippGetCount(attribute) > 0 ? ippGetString(attribute, 0, nullptr) : nullptr;
}

} // namespace

// cupsGetDestMediaDefault() is no help here: without a media option of the
// user's it tries Letter first and takes it from any printer that merely
// offers it, so an A4 printer got Letter pages, scaled or cut.
std::optional<QPageSize> printersOwnPaper(http_t *http, cups_dest_t *dest, cups_dinfo_t *info)
{
    if (std::optional<QPageSize> chosen = paperOf(cupsGetOption("media", dest->num_options, dest->options)))
        return chosen;
    if (!info)
        return std::nullopt;
    if (std::optional<QPageSize> byDefault = paperOf(firstValue(cupsFindDestDefault(http, dest, info, "media"))))
        return byDefault;
    return paperOf(firstValue(cupsFindDestReady(http, dest, info, "media")));
}

} // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The fonts Qt embeds keep the whole naming table of the font they were cut
// from: for a common Hebrew font, its licence text in several encodings,
// sixteen kilobytes against half a kilobyte of glyphs. A PDF needs none of
// it to draw or search the text; the table keeps the font's names only.

#include <QByteArray>

#include <optional>

namespace printing {

// `font`, a TrueType font program, with its naming table cut down to the
// family, style, full and PostScript names; nothing when it is not a
// TrueType font this can read.
std::optional<QByteArray> withNamesOnly(const QByteArray &font);

} // namespace printing

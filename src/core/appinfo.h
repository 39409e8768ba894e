// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace core {

// The program's name: the main window's caption and every message box's title.
inline QString applicationTitle() { return QStringLiteral("Tavimark"); }

// Twips are 1/1440 inch; the window design is given in them. At 96 dots per
// inch a pixel is 15 twips, and Qt scales pixels on high-density screens.
constexpr int TwipsPerPixel = 15;
constexpr int fromTwips(int twips) { return twips / TwipsPerPixel; }

} // namespace core

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QUrl>

class QWidget;
namespace core { class RandomSource; class UrlLauncher; }

namespace app {

inline const QUrl HomePageUrl{QStringLiteral("https://www.tavimark.com/")};

// Where a window of outer size `window` stands when centred on a screen of
// size `screen`. A window larger than the screen gets a negative edge; that
// is intended, the window is not pushed back onto the screen.
QPointF centeredTopLeft(QSizeF window, QSizeF screen);

// Centres the window, frame included, on its screen. CenterForm (like
// FileExists and MaybeOpenHomePage here) keeps the name the program's design
// gives this step of the window's load sequence.
void CenterForm(QWidget &window);

// True when the file system reports a last-modified time for the path; false
// on any failure. Never throws.
bool FileExists(const QString &path) noexcept;

// Opens the home page at one start in a hundred: only the draw 7 of 1..100.
// Returns whether it opened it.
bool MaybeOpenHomePage(core::RandomSource &random, core::UrlLauncher &launcher);

} // namespace app

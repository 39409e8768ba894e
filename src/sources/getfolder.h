// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;
namespace core { class FolderBrowser; }

namespace sources {

// GetFolder keeps the name the program's design gives the folder picker, so
// the folder action reads as designed.
//
// Shows the folder chooser over `owner` with `prompt` and returns the chosen
// folder's path: a root keeps its separator ("/", "C:\"), any other folder
// comes without one. "" when the user cancelled.
QString GetFolder(core::FolderBrowser &browser, QWidget *owner, const QString &prompt);

} // namespace sources

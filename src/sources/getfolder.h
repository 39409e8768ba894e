#pragma once

#include <QString>

class QWidget;
namespace platform { class FolderBrowser; }

namespace sources {

// Shows the folder chooser over `owner` with `prompt` and returns the chosen
// folder's path: a root keeps its separator ("/", "C:\"), any other folder
// comes without one. "" when the user cancelled.
QString GetFolder(platform::FolderBrowser &browser, QWidget *owner, const QString &prompt);

} // namespace sources

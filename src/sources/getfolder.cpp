// SPDX-License-Identifier: GPL-3.0-or-later
#include "getfolder.h"
#include "paths.h"

#include "core/desktop.h"

namespace sources {

QString GetFolder(core::FolderBrowser &browser, QWidget *owner, const QString &prompt)
{
    return trimTrailingSeparators(browser.browseForFolder(owner, prompt));
}

} // namespace sources

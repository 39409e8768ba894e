// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include "core/desktop.h"

#include <QFileInfo>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace app {

QPointF centeredTopLeft(QSizeF window, QSizeF screen)
{
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

void CenterForm(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    // The whole screen, as the window was designed to be centred on it,
    // not the part panels leave free.
    const QRect whole = screen->geometry();
    const QPointF topLeft = centeredTopLeft(window.frameGeometry().size(), whole.size());
    // move() places the outer frame, which is what was measured.
    window.move(whole.topLeft() + topLeft.toPoint());
}

bool FileExists(const QString &path) noexcept
{
    try {
        if (path.isEmpty() || path.contains(QChar(0)))
            return false;
        const QFileInfo info(path);
        return info.exists() && info.lastModified().isValid();
    } catch (...) {
        return false;
    }
}

bool MaybeOpenHomePage(core::RandomSource &random, core::UrlLauncher &launcher)
{
    const int drawn = int(std::floor(random.next() * 100)) + 1;
    if (drawn != 7)
        return false;
    launcher.open(HomePageUrl);
    return true;
}

} // namespace app

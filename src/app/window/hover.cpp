// SPDX-License-Identifier: GPL-3.0-or-later
#include "hover.h"

#include "core/pointerrule.h"

namespace app {

using core::MousePointer;

void showHandOverButton(core::PointerOwner &window)
{
    core::setPointerUnlessBusy(window, MousePointer::Custom);
}

void showArrowOverBackground(core::PointerOwner &window)
{
    core::setPointerUnlessBusy(window, MousePointer::Default);
}

} // namespace app

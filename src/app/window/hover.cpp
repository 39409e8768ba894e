#include "hover.h"

#include "core/pointerrule.h"

namespace app {

using platform::MousePointer;

void showHandOverButton(platform::PointerOwner &window)
{
    platform::setPointerUnlessBusy(window, MousePointer::Custom);
}

void showArrowOverBackground(platform::PointerOwner &window)
{
    platform::setPointerUnlessBusy(window, MousePointer::Default);
}

} // namespace app

#pragma once

// A window's pointer without a window, for the actions and hover rules that
// set it: it shows one pointer and remembers every change made to it.

#include "core/mousepointer.h"

#include <QList>

struct RecordingPointer final : platform::PointerOwner {
    platform::MousePointer current = platform::MousePointer::Default;
    QList<platform::MousePointer> changes;

    platform::MousePointer mousePointer() const override { return current; }
    void setMousePointer(platform::MousePointer pointer) override
    {
        current = pointer;
        changes << pointer;
    }
};

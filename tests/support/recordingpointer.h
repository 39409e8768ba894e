// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window's pointer without a window, for the actions and hover rules that
// set it: it shows one pointer and remembers every change made to it.

#include "core/mousepointer.h"

#include <QList>

struct RecordingPointer final : core::PointerOwner {
    core::MousePointer current = core::MousePointer::Default;
    QList<core::MousePointer> changes;

    core::MousePointer mousePointer() const override { return current; }
    void setMousePointer(core::MousePointer pointer) override
    {
        current = pointer;
        changes << pointer;
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// Standard error set aside for a while: whatever the process writes there
// meanwhile, Qt's messages and the lines libraries write straight to it
// alike, is thrown away, until restore() or the end of the object. Meant
// for the moment a display is opened, when platform plugins that cannot
// reach theirs have their say before the program can have its own.
class StandardErrorSetAside {
public:
    StandardErrorSetAside();
    ~StandardErrorSetAside() { restore(); }
    StandardErrorSetAside(const StandardErrorSetAside &) = delete;
    StandardErrorSetAside &operator=(const StandardErrorSetAside &) = delete;

    // Standard error is the one it was before; again and again harmless.
    void restore();

private:
    int m_saved = -1;  // the descriptor standard error was, while set aside
};

} // namespace platform

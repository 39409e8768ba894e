// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/desktop.h"

#include <memory>

namespace platform {

// The real "Loading Settings" dialog: the CSS selector of the element each
// document waits for, and the delay after it has settled.
std::unique_ptr<core::LoadingSettingsEditor> makeLoadingDialog();

} // namespace platform

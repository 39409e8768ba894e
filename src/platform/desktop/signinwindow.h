// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/desktop.h"

#include <memory>

namespace platform {

class SharedProfile;

// Sign-in windows over the profile the window's pages print with.
std::unique_ptr<core::SignInWindows> makeSignInWindows(std::shared_ptr<SharedProfile> profile);

// The dialog that asks for a site's user name and password.
std::unique_ptr<core::CredentialsDialog> makeCredentialsDialog();

} // namespace platform

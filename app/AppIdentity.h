// SPDX-License-Identifier: GPL-3.0-or-later
// How the desktop knows Talmo's windows: the desktop entry they belong to and
// the icon they carry, so a dock matches a window to its launcher.
#pragma once

namespace talmo {

// The desktop entry's id, without ".desktop".
inline constexpr const char* kDesktopId = "org.talmo.Talmo";

// Names the application's desktop entry and gives its windows the icon.
// Does nothing without a window system (a QCoreApplication).
void identifyApplication();

} // namespace talmo

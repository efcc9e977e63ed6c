// SPDX-License-Identifier: GPL-3.0-or-later
// Ending as closing the window does when the system asks the program to stop:
// SIGTERM (shutdown, `kill`), SIGHUP (the terminal went away) and SIGINT
// (Ctrl+C), and the desktop session's end.
#pragma once

class QWidget;

namespace talmo {

// Closes `window` (which keeps the unsaved work by its rules) and quits the
// event loop on those signals; the session's end closes it too.
void closeOnQuitRequests(QWidget* window);

} // namespace talmo

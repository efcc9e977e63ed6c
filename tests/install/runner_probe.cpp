// SPDX-License-Identifier: GPL-3.0-or-later
// Prints where the batch runner is found from this program's own folder; the
// install test copies it beside the installed talmo.
#include "ShellRun.h"

#include <cstdio>

int main() {
    std::puts(talmo::findBatchRunner().c_str());
}

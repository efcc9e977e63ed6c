// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogBuffer.h"

namespace talmo {

void appendCapped(std::vector<std::string>& lines, std::string line) {
    if (logDropsOldest(lines.size()))
        lines.erase(lines.begin());
    lines.push_back(std::move(line));
}

} // namespace talmo

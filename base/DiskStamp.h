// SPDX-License-Identifier: GPL-3.0-or-later
// What a file held when it was read or written: enough to tell a real change
// on disk from a touch. No Qt.
#pragma once

#include <cstdint>
#include <string_view>

namespace talmo {

struct DiskStamp {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const DiskStamp&, const DiskStamp&) = default;
};

DiskStamp stampOf(std::string_view bytes);

} // namespace talmo

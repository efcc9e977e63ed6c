// SPDX-License-Identifier: GPL-3.0-or-later
#include "DiskStamp.h"

#include <cstring>

namespace talmo {

DiskStamp stampOf(std::string_view bytes) {
    // Eight bytes a step, mixed with a multiply and a shift: fast enough to
    // hash a file at every switch, and no two versions of a file that a
    // person writes will meet.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    for (; i < bytes.size(); ++i) {
        h = (h ^ static_cast<unsigned char>(bytes[i])) * 0x94D049BB133111EBull;
        h ^= h >> 29;
    }
    return DiskStamp{bytes.size(), h};
}

} // namespace talmo

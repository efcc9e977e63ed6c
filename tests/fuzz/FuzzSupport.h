// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the fuzz targets: the check that stops a run with a
// readable message, a reader that splits one input into the values a target
// needs, and small text helpers. No Qt, no clang headers, so the targets also
// build with g++ and the standalone driver.
#pragma once

#include "Editor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace talmo::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "\n*** property violated at %s:%d: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

// Stops the run (abort, which libFuzzer reports as a crash with its input)
// when a property does not hold.
#define TALMO_FUZZ_CHECK(cond)                                                                     \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::talmo::fuzz::fail(#cond, __FILE__, __LINE__);                                        \
    } while (0)

// Takes values from the front of a fuzz input; once it is used up every
// value is zero or empty.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : m_data(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte() {
        if (m_data.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_data.front());
        m_data.remove_prefix(1);
        return b;
    }
    bool flag() { return (byte() & 1) != 0; }
    // A number in [0, bound]; bound must be >= 0.
    long upTo(long bound) {
        std::uint32_t v = byte();
        v = (v << 8) | byte();
        v = (v << 8) | byte();
        return bound <= 0 ? 0 : static_cast<long>(v % static_cast<std::uint32_t>(bound + 1));
    }
    // A string whose length comes from the byte before it (at most 255).
    std::string shortString() {
        const std::size_t wanted = byte();
        const std::size_t n = std::min(wanted, m_data.size());
        std::string s(m_data.substr(0, n));
        m_data.remove_prefix(n);
        return s;
    }
    // Everything not taken yet.
    std::string rest() {
        std::string s(m_data);
        m_data = {};
        return s;
    }
    bool empty() const { return m_data.empty(); }

private:
    std::string_view m_data;
};

inline bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The text without leading and trailing bytes 0 to 32, written out plainly.
inline std::string trimmed(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isBlankOrControl(s[b]))
        ++b;
    while (e > b && isBlankOrControl(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

// ASCII-only lower case, for references that must not share the code under test.
inline char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// Whether the range lies inside a text of `size` positions.
inline bool inside(const Range& r, long size) {
    return r.start >= 0 && r.length >= 0 && r.start <= size && r.length <= size - r.start;
}

// A directory of this process under /dev/shm (or /tmp) for the targets that
// write files, created on first use.
std::string scratchDirectory();

} // namespace talmo::fuzz

// SPDX-License-Identifier: GPL-3.0-or-later
// Fast byte scans over whole source texts (16 bytes a step where the CPU
// has SSE2), for the scans of a whole mod. Positions are byte offsets.
#pragma once

#include <bit>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TALMO_SSE2 1
#endif

namespace talmo {

#ifdef TALMO_SSE2
// 0xFF in each byte of `chunk` that is one of `Stops`.
template <char... Stops> __m128i matchAnyOf(__m128i chunk) {
    __m128i hit = _mm_setzero_si128();
    ((hit = _mm_or_si128(hit, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(Stops)))), ...);
    return hit;
}
#endif

// The first position at or after `pos` whose byte is one of `Stops`;
// text.size() when there is none.
template <char... Stops> std::size_t findAnyOf(std::string_view text, std::size_t pos) {
    const std::size_t size = text.size();
#ifdef TALMO_SSE2
    for (; pos + 16 <= size; pos += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(matchAnyOf<Stops...>(chunk)));
        if (mask != 0)
            return pos + static_cast<std::size_t>(std::countr_zero(mask));
    }
#endif
    for (; pos < size; ++pos)
        if (((text[pos] == Stops) || ...))
            return pos;
    return size;
}

// The line breaks that begin in [from, to): LF, CR LF (once) and a lone CR,
// as the editor counts them. `to` is clamped to the text.
std::size_t countLineBreaks(std::string_view text, std::size_t from, std::size_t to);

// The start of the line holding `offset`: just after the last CR or LF before
// it, or 0.
std::size_t lineStartOf(std::string_view text, std::size_t offset);

// The end of the line holding `offset`: its first CR or LF at or after
// `offset`, or text.size().
inline std::size_t lineEndOf(std::string_view text, std::size_t offset) {
    return findAnyOf<'\r', '\n'>(text, offset);
}

} // namespace talmo

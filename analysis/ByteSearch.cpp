// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteSearch.h"

#include <algorithm>

namespace talmo {

std::size_t countLineBreaks(std::string_view text, std::size_t from, std::size_t to) {
    to = std::min(to, text.size());
    std::size_t breaks = 0;
    std::size_t i = from;
#ifdef TALMO_SSE2
    // A CR counts unless the byte after it is LF; that byte is read from the
    // next position, so the steps stop one byte before the text ends. The
    // last step of a range masks off the bytes past `to`, so short ranges
    // (one for each definition of a file) need no byte-by-byte tail. Each
    // byte of `counts` adds up to 255 steps (a match is -1), then they are
    // summed.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lanes = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    while (i < to && i + 17 <= text.size()) {
        __m128i counts = _mm_setzero_si128();
        for (int step = 0; step < 255 && i < to && i + 17 <= text.size(); ++step, i += 16) {
            const char* p = text.data() + i;
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            const __m128i loneCr =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(chunk, cr));
            __m128i found = _mm_or_si128(_mm_cmpeq_epi8(chunk, lf), loneCr);
            if (to - i < 16)
                found = _mm_and_si128(
                    found, _mm_cmplt_epi8(lanes, _mm_set1_epi8(static_cast<char>(to - i))));
            counts = _mm_sub_epi8(counts, found);
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        breaks += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                  static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; i < to; ++i) {
        const char c = text[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++breaks;
    }
    return breaks;
}

std::size_t lineStartOf(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
#ifdef TALMO_SSE2
    // 16 bytes a step backwards: the last CR or LF of the chunk before `offset`.
    while (offset >= 16) {
        const __m128i chunk =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + offset - 16));
        const unsigned mask =
            static_cast<unsigned>(_mm_movemask_epi8(matchAnyOf<'\r', '\n'>(chunk)));
        if (mask != 0)
            return offset - 16 + static_cast<std::size_t>(std::bit_width(mask));
        offset -= 16;
    }
#endif
    while (offset > 0 && text[offset - 1] != '\n' && text[offset - 1] != '\r')
        --offset;
    return offset;
}

} // namespace talmo

#include "ByteSearch.h"

#include <algorithm>

namespace talmo {

std::size_t countLineBreaks(std::string_view text, std::size_t from, std::size_t to) {
    to = std::min(to, text.size());
    std::size_t breaks = 0;
    std::size_t i = from;
#ifdef TALMO_SSE2
    // A CR counts unless the byte after it is LF; that byte is read from the
    // next position, so the step stops one byte before the text ends. Each
    // byte of `counts` adds up to 255 steps (a match is -1), then they are
    // summed.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (i + 16 <= to && i + 17 <= text.size()) {
        __m128i counts = _mm_setzero_si128();
        for (int step = 0; step < 255 && i + 16 <= to && i + 17 <= text.size(); ++step, i += 16) {
            const char* p = text.data() + i;
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            const __m128i loneCr =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(chunk, cr));
            counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(chunk, lf));
            counts = _mm_sub_epi8(counts, loneCr);
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
    while (offset > 0 && text[offset - 1] != '\n' && text[offset - 1] != '\r')
        --offset;
    return offset;
}

} // namespace talmo

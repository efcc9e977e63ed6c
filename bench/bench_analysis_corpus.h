// SPDX-License-Identifier: GPL-3.0-or-later
// Generated inputs shared by the analysis benchmarks.
#pragma once

#include "analysis_generator.h"

#include <map>
#include <string>

namespace talmo::benchcorpus {

constexpr std::size_t kMegabyte = 1 << 20;

// A QuakeC-like source of `bytes` bytes in which `word` occurs exactly
// `count` times, spread evenly (the generator's own words never contain it).
inline std::string sourceWithOccurrences(std::size_t bytes, const std::string& word, int count) {
    const std::string base = testgen::quakeCSource(bytes, 17);
    std::string out;
    out.reserve(base.size() + static_cast<std::size_t>(count) * (word.size() + 8));
    const std::size_t step = base.size() / static_cast<std::size_t>(count);
    std::size_t from = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t lf =
            base.find('\n', from + step - 1 < base.size() ? from + step - 1 : base.size() - 1);
        const std::size_t cut = lf == std::string::npos ? base.size() : lf + 1;
        out.append(base, from, cut - from);
        out += "\t" + word + "();\r\n";
        from = cut;
    }
    out.append(base, from, std::string::npos);
    return out;
}

// A generated source of that many megabytes, made once per run.
inline const std::string& source(std::size_t megabytes) {
    static std::map<std::size_t, std::string> cache;
    auto it = cache.find(megabytes);
    if (it == cache.end())
        it = cache.emplace(megabytes, testgen::quakeCSource(megabytes * kMegabyte, 1)).first;
    return it->second;
}

// 10,000 occurrences of "spawn_gib" spread over a source of that size.
inline const std::string& sourceWithTargets(std::size_t megabytes) {
    static std::map<std::size_t, std::string> cache;
    auto it = cache.find(megabytes);
    if (it == cache.end())
        it = cache
                 .emplace(megabytes,
                          sourceWithOccurrences(megabytes * kMegabyte, "spawn_gib", 10000))
                 .first;
    return it->second;
}

} // namespace talmo::benchcorpus

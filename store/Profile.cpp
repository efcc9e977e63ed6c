// SPDX-License-Identifier: GPL-3.0-or-later
#include "Profile.h"

#include "Text.h"

#include <array>

namespace talmo {

namespace {

constexpr std::array<std::string_view, kProfileLineCount> kLabels = {
    "configfile : ", "qc compiler: ", "path src   : ", "path exe   : ",
    "quake exe  : ", "modname    : ", "paramsquake: ",
};

} // namespace

std::string profileFileName(std::string_view savename) {
    std::string name(savename);
    if (savename.find('.') == std::string_view::npos)
        name += kProfileExtension;
    return name;
}

std::vector<std::string> composeProfileLines(const ProfileSettings& s) {
    const std::array<const std::string*, kProfileLineCount> values = {
        &s.configFile, &s.compiler, &s.pathSrc, &s.pathExe, &s.quakeExe, &s.modName, &s.params,
    };
    std::vector<std::string> lines;
    lines.reserve(kProfileLineCount);
    for (int i = 0; i < kProfileLineCount; ++i)
        lines.push_back(std::string(kLabels[i]) + *values[i]);
    return lines;
}

std::string composeProfileText(const ProfileSettings& settings) {
    return joinCrLf(composeProfileLines(settings));
}

std::string ProfileValue(std::string_view line) {
    const std::size_t colon = line.find(':');
    return std::string(
        trimControls(colon == std::string_view::npos ? line : line.substr(colon + 1)));
}

std::string memoLine(std::string_view text, int index) {
    if (index < 0)
        return {};
    std::size_t pos = 0;
    for (int i = 0; i < index; ++i) {
        const std::size_t br = text.find_first_of("\r\n", pos);
        if (br == std::string_view::npos)
            return {};
        pos = br + 1;
        if (text[br] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    if (pos >= text.size())
        return {};
    const std::size_t end = text.find_first_of("\r\n", pos);
    return std::string(text.substr(pos, end == std::string_view::npos ? text.npos : end - pos));
}

ProfileSettings readProfileValues(std::string_view memoText) {
    ProfileSettings s;
    std::array<std::string*, kProfileLineCount> values = {
        &s.configFile, &s.compiler, &s.pathSrc, &s.pathExe, &s.quakeExe, &s.modName, &s.params,
    };
    for (int i = 0; i < kProfileLineCount; ++i)
        *values[i] = ProfileValue(memoLine(memoText, i));
    return s;
}

void writeProfileFile(const std::filesystem::path& path, const ProfileSettings& settings) {
    writeFileBytes(path, composeProfileText(settings));
}

std::string readProfileFile(const std::filesystem::path& path) {
    return normalizeLineBreaks(readFileBytes(path));
}

std::string profileMemoText(std::string_view crlfText) {
    std::string text = crlfToLf(crlfText);
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

} // namespace talmo

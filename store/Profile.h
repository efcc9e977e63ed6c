// SPDX-License-Identifier: GPL-3.0-or-later
// The ".qprofile" file: seven labelled lines holding the project settings of
// the Go page, each followed by CR LF. Values are written exactly as typed and
// read back by line number only; the labels are never compared. No Qt.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// The seven values of a profile, in file order.
struct ProfileSettings {
    std::string configFile; // the profile's own file name as saved
    std::string compiler;   // compilerqc
    std::string pathSrc;    // pathsrc
    std::string pathExe;    // pathquake
    std::string quakeExe;   // namequake
    std::string modName;    // namemod
    std::string params;     // paramsquake
    friend bool operator==(const ProfileSettings&, const ProfileSettings&) = default;
};

inline constexpr int kProfileLineCount = 7;
inline constexpr std::string_view kProfileExtension = ".qprofile";

// The name Save writes: `savename` with ".qprofile" appended only when it
// holds no "." anywhere (directory part included). "" gives ".qprofile".
std::string profileFileName(std::string_view savename);

// The seven lines "configfile : " + value ... "paramsquake: " + value,
// without line breaks.
std::vector<std::string> composeProfileLines(const ProfileSettings& settings);

// The seven lines, each followed by CR LF: the whole file.
std::string composeProfileText(const ProfileSettings& settings);

// Value of one profile line: everything after its first ":" (the whole line
// when it has none), without leading and trailing blanks and control
// characters (bytes 0 to 32).
std::string ProfileValue(std::string_view line);

// Zero-based line `index` of a memo text whose lines end in CR LF, CR or LF;
// empty when the text has no such line.
std::string memoLine(std::string_view text, int index);

// What Load applies: ProfileValue of lines 1 to 7 of the memo text (lines
// that the text lacks give empty values). Never fails.
ProfileSettings readProfileValues(std::string_view memoText);

// Writes composeProfileText() as the whole file `path` (relative to the
// current directory), replacing it. Throws FileError (Editor.h).
void writeProfileFile(const std::filesystem::path& path, const ProfileSettings& settings);

// The whole file with every line break turned into CR LF, every line kept,
// as the profile memo shows it. Throws FileError when it cannot be read.
std::string readProfileFile(const std::filesystem::path& path);

// A profile's CR LF text as the memo shows it: lines broken by LF, the break
// that ends the last line making no empty line of its own.
std::string profileMemoText(std::string_view crlfText);

} // namespace talmo

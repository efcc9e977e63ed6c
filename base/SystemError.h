// SPDX-License-Identifier: GPL-3.0-or-later
// The FileError of a failed system call, worded alike on every system:
// "What "path": reason", the reason being the C library's text for the
// error number (a Windows error is first mapped to its nearest one).
#pragma once

#include <filesystem>
#include <string>

namespace talmo {

[[noreturn]] void failWithErrno(const std::string& what, const std::filesystem::path& path,
                                int err);

#ifdef _WIN32
// `code` is a GetLastError() value.
int errnoOfWindowsError(unsigned long code);
[[noreturn]] void failWithSystemError(const std::string& what, const std::filesystem::path& path,
                                      unsigned long code);
#endif

} // namespace talmo

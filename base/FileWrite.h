// SPDX-License-Identifier: GPL-3.0-or-later
// Writing whole files without ever leaving one half-written, and a seam that
// makes writes fail on demand (a full disk, a directory that refuses new
// files), so the failure rules are tested on every machine and as root.
// No Qt.
#pragma once

#include "FileError.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace talmo {

// How a user's file is written.
struct WriteOptions {
    // Where the file's current bytes and the new ones are made durable before
    // a write that has to go in place (no temporary file can be made beside
    // the file, or the file has several hard links or an owner a new file
    // would not keep). Empty: such a write is refused, the file untouched.
    std::filesystem::path safeCopies;
    // Asked once the new bytes are durable, right before they replace the
    // file; false means the file changed meanwhile: nothing is replaced and
    // OutsideChange is thrown.
    std::function<bool()> stillUnchanged;
};

// The file changed on disk while it was being written: it was left as the
// other program wrote it.
class OutsideChange : public FileError {
public:
    using FileError::FileError;
};

// Writes `bytes` as the whole content of `path`: a temporary file beside the
// target, flushed to disk, then renamed over it, keeping its permissions,
// owner and group where the system allows (Windows: its attributes); a
// symbolic link is followed and its target replaced. Where that cannot be
// done, the write goes in place after both versions were made durable in
// options.safeCopies; if it then fails, the error names both copies. A
// read-only file is refused. Throws FileError; the old file stays.
void writeFileBytes(const std::filesystem::path& path, std::string_view bytes,
                    const WriteOptions& options = {});

// Writes a file the program generates itself (batch files, the report,
// recovery copies): a temporary file beside `path` is renamed over the name,
// so a symbolic link planted under that name is replaced, never written
// through. Throws FileError; the old file stays.
void writeGeneratedFileBytes(const std::filesystem::path& path, std::string_view bytes);

// Writes `bytes` as a new file in `dir` (which must exist) under the first
// free name of freeFileName; its path, or empty when none could be written.
std::filesystem::path writeNewFile(const std::filesystem::path& dir,
                                   const std::filesystem::path& base, std::string_view bytes);

// A name in `dir` that no file has yet: `base`, then `base.2`, `base.3`, ...;
// empty when the first thousand are taken.
std::filesystem::path freeFileName(const std::filesystem::path& dir,
                                   const std::filesystem::path& base);

// ---- test seam ----

// A failure to simulate for one written file.
struct WriteFault {
    bool refuseCreate = false;       // no new file may be made in its directory
    std::uint64_t room = UINT64_MAX; // bytes that fit before "no space left"
};
// Asked with the name of every file about to be written (the target, not its
// temporary file); nullopt writes normally. An empty function turns it off.
using WriteFaultRule = std::function<std::optional<WriteFault>(const std::filesystem::path&)>;
void setWriteFaultForTesting(WriteFaultRule rule);

} // namespace talmo

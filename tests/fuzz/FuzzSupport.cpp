// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzSupport.h"

#include <filesystem>
#include <system_error>

namespace talmo::fuzz {

namespace {

struct Scratch {
    std::string path;
    Scratch() {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
        std::string tmpl = (base / "talmo-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            fail("cannot create a scratch directory", __FILE__, __LINE__);
        path = tmpl;
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

} // namespace

std::string scratchDirectory() {
    static const Scratch scratch;
    return scratch.path;
}

} // namespace talmo::fuzz

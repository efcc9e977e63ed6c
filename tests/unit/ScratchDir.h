// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch directory for tests that touch files: made empty under the
// system's temporary folder, removed with everything in it at the end.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace talmo::testing {

// A file's bytes read or written whole, by plain streams (not the code under
// test); an unreadable file reads as "".
inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void putFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Whether a read-only file stops this process from writing it: not for root.
inline bool readOnlyStopsUs() {
#ifdef _WIN32
    return true;
#else
    return ::geteuid() != 0;
#endif
}

class ScratchDir {
public:
    ScratchDir() {
        // A new directory under a random name: creating it is the claim.
        std::random_device seed;
        std::mt19937_64 random(seed());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path dir = base / ("talmo-test-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(dir, ec)) {
                m_path = dir;
                return;
            }
        }
        throw std::runtime_error("cannot make a scratch directory");
    }
    ~ScratchDir() {
        std::error_code ec;
        // A test may have locked it; give it back before removing it.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// A fixture whose tests run with a scratch directory as the current one.
class InScratchDir : public ::testing::Test {
protected:
    void SetUp() override {
        m_old = std::filesystem::current_path();
        std::filesystem::current_path(m_scratch.path());
        m_dir = m_scratch.path();
    }
    void TearDown() override { std::filesystem::current_path(m_old); }

    std::filesystem::path m_dir;

private:
    ScratchDir m_scratch;
    std::filesystem::path m_old;
};

} // namespace talmo::testing

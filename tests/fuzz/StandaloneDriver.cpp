// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target without libFuzzer: first every file named on the command
// line (a file, or every file of a directory: the seed corpus or a crash
// reproducer), then deterministic pseudo-random inputs, built from the seeds
// and from pieces of QuakeC and of the program's own files, until the time is
// up. Usage: <target> [-seconds=N] [FILE|DIR]...
// A violated property aborts the run, as under libFuzzer.
#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr std::array<std::string_view, 48> kPieces = {
    "void",     "Void",    "string",   "float",    "local",      "vector", "entity", "ENTITY",
    "float(",   "float (", "float\t(", "entity(",  "string (",   "/*",     "*/",     "//",
    "/*/",      "\r\n",    "\r",       "\n",       "=",          "==",     ")",      "(",
    ".",        ";",       ":",        " ",        "\t",         "\"",     "'",      "%",
    "&",        "|",       "$",        "`",        "^",          "\\\\",   "C:",     "cd ",
    "notepad ", "start ",  "\"\" ",    "autosave", "autosave 1", "clear",  "help",   " - "};

class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(next() % n); }

private:
    std::uint64_t m_state;
};

std::string fromPieces(Random& rnd) {
    std::string s;
    const std::size_t count = rnd.below(64);
    for (std::size_t i = 0; i < count; ++i) {
        if (rnd.below(3) == 0)
            s += static_cast<char>(rnd.below(256));
        else
            s += kPieces[rnd.below(kPieces.size())];
    }
    return s;
}

std::string mutate(std::string s, Random& rnd) {
    const std::size_t edits = 1 + rnd.below(8);
    for (std::size_t i = 0; i < edits; ++i) {
        const std::size_t at = rnd.below(s.size() + 1);
        switch (rnd.below(4)) {
        case 0:
            if (at < s.size())
                s[at] = static_cast<char>(rnd.below(256));
            break;
        case 1:
            if (at < s.size())
                s.erase(at, 1 + rnd.below(4));
            break;
        case 2:
            s.insert(at, kPieces[rnd.below(kPieces.size())]);
            break;
        default:
            s.insert(at, 1, static_cast<char>(rnd.below(256)));
            break;
        }
    }
    return s;
}

// The input being run, written to "standalone-crash-input" in the current
// directory when the run dies, to be replayed by naming the file.
std::string g_current;

extern "C" void saveCurrentInput(int sig) {
    const int fd = ::open("standalone-crash-input", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        (void)!::write(fd, g_current.data(), g_current.size());
        ::close(fd);
    }
    static const char note[] = "input saved as standalone-crash-input\n";
    (void)!::write(2, note, sizeof note - 1);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void run(const std::string& input) {
    g_current = input;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::signal(SIGABRT, saveCurrentInput);
    std::signal(SIGSEGV, saveCurrentInput);
    double seconds = 2.0;
    std::vector<std::string> seeds;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-seconds=", 0) == 0) {
            seconds = std::atof(arg.c_str() + 9);
            continue;
        }
        std::vector<fs::path> files;
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::directory_iterator(arg))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else {
            files.emplace_back(arg);
        }
        for (const fs::path& f : files) {
            seeds.push_back(readWhole(f));
            run(seeds.back());
        }
    }
    std::printf("%zu seed inputs passed\n", seeds.size());

    Random rnd(0x7a1c0ffeeULL);
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long executions = 0;
    while (std::chrono::steady_clock::now() < until) {
        for (int batch = 0; batch < 64; ++batch, ++executions) {
            if (!seeds.empty() && rnd.below(2) == 0)
                run(mutate(seeds[rnd.below(seeds.size())], rnd));
            else
                run(fromPieces(rnd));
        }
    }
    std::printf("%ld generated inputs passed in %.1f s\n", executions, seconds);
    return 0;
}

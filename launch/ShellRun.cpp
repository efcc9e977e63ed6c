// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellRun.h"

#include "Batch.h"

#ifdef _WIN32

#include <windows.h>

#include <shellapi.h>

namespace talmo {

namespace {

bool shellRun(const std::filesystem::path& file, int show, std::uintptr_t owner) {
    // A relative name runs in the current directory, as the batch files expect.
    const HINSTANCE r = ::ShellExecuteW(reinterpret_cast<HWND>(owner), nullptr, file.c_str(),
                                        nullptr, nullptr, show);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

} // namespace

bool runBatchFile(const std::filesystem::path& batchPath, bool hidden, std::uintptr_t owner) {
    return shellRun(batchPath, hidden ? SW_HIDE : SW_SHOWNORMAL, owner);
}

bool openWithDefault(const std::filesystem::path& path, std::uintptr_t owner) {
    return shellRun(path, SW_SHOWNORMAL, owner);
}

} // namespace talmo

#else

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace talmo {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string executableDirectory() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    const std::string exe(buf, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

} // namespace

std::string findOnPath(std::string_view program) {
    const char* env = std::getenv("PATH");
    const std::string_view path = env ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = path.find(':', pos);
        if (end == std::string_view::npos)
            end = path.size();
        std::string dir(path.substr(pos, end - pos));
        if (dir.empty())
            dir = ".";
        const std::string candidate = dir + "/" + std::string(program);
        if (isExecutableFile(candidate))
            return candidate;
        pos = end + 1;
    }
    return {};
}

std::string findBatchRunner() {
    const std::string dir = executableDirectory();
    if (!dir.empty()) {
        // Beside talmo in a build tree; in libexec/talmo when installed.
        for (const std::string& candidate :
             {dir + "/talmo-batch", dir + "/../libexec/talmo/talmo-batch"}) {
            if (isExecutableFile(candidate))
                return candidate;
        }
    }
    return findOnPath("talmo-batch");
}

bool spawnDetached(const std::string& program, const std::vector<std::string>& args) {
    // Everything the children need is prepared here: after fork() they may
    // only make async-signal-safe calls.
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const char* file = program.c_str();

    // Reports a failed exec back to this process; closed by a successful one.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;

    const pid_t middle = ::fork();
    if (middle < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (middle == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t child = ::fork();
        if (child == 0) {
            const int devNull = ::open("/dev/null", O_RDONLY);
            if (devNull > 0) {
                ::dup2(devNull, 0);
                ::close(devNull);
            }
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            struct sigaction dfl {};
            dfl.sa_handler = SIG_DFL;
            ::sigaction(SIGPIPE, &dfl, nullptr);
            ::execv(file, argv.data());
            const int err = errno;
            [[maybe_unused]] const ssize_t w = ::write(report[1], &err, sizeof err);
            ::_exit(127);
        }
        if (child < 0) {
            const int err = errno;
            [[maybe_unused]] const ssize_t w = ::write(report[1], &err, sizeof err);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    do {
        n = ::read(report[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    ::close(report[0]);
    return n == 0;
}

bool runBatchFile(const std::filesystem::path& batchPath, bool hidden, std::uintptr_t) {
    // No window to hide: the runner and its programs write where the caller's
    // output goes.
    (void)hidden;
    const std::string runner = findBatchRunner();
    if (runner.empty())
        return false;
    return spawnDetached(runner, {"talmo-batch", batchPath});
}

bool openWithDefault(const std::filesystem::path& folder, std::uintptr_t) {
    const std::string& path = folder.native();
    if (path.empty())
        return false;
    const std::string opener = findOnPath("xdg-open");
    if (opener.empty())
        return false;
    // A name beginning with "-" must not read as an option.
    const std::string arg = path.front() == '-' ? "./" + path : path;
    return spawnDetached(opener, {"xdg-open", arg});
}

} // namespace talmo

#endif

namespace talmo {

bool writeAndRunBatchFile(const std::filesystem::path& batch, const std::vector<std::string>& lines,
                          bool hidden, std::uintptr_t owner) {
    writeBatchFile(batch, lines);
    return runBatchFile(batch.filename(), hidden, owner);
}

} // namespace talmo

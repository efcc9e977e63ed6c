// SPDX-License-Identifier: GPL-3.0-or-later
// talmo-batch: runs one of Talmo's batch files on systems without the Windows
// command processor. Usage: talmo-batch [--progress] FILE. Runs in the
// current directory and executes the lines in order, each to its end before
// the next:
//   ""  or a bare drive ("D:")   nothing
//   cd X                        changes directory to X
//   notepad X                   opens X with `notepad` from PATH, else xdg-open
//   start X / start "" "X"      opens X with xdg-open
//   anything else               /bin/sh -c LINE
// The path of cd, notepad and start is used as it is and never goes through
// a shell, so a file name cannot run anything. The lines the user typed into
// Talmo (BatchLine.h, batchSteps) always go to /bin/sh -c whole.
// With --progress, the number of each finished line (1-based) and its exit
// status go to the standard output, one line each (BatchLine.h,
// progressLine), so a caller can tell when the compiler line is done, and
// how it ended, while notepad still shows its log; the started programs
// write to the standard error instead. The runner's own exit status is that
// of the last line it gave to /bin/sh (the compiler's in qcc.bat), 0 when
// none.
#include "BatchLine.h"
#include "ShellRun.h"
#include "Text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

void closeInheritedDescriptors() {
#if defined(__linux__) && defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 34)
    if (::close_range(3, ~0U, 0) == 0)
        return;
#endif
    const long max = ::sysconf(_SC_OPEN_MAX);
    for (int fd = 3; fd < (max > 0 && max < 65536 ? max : 65536); ++fd)
        ::close(fd);
}

// Runs the program and waits for it; its exit status (128 + the signal for
// one that was killed), or 127 when it could not be started.
int runAndWait(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int err = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (err != 0) {
        std::fprintf(stderr, "talmo-batch: cannot run %s: %s\n", program.c_str(),
                     std::strerror(err));
        return 127;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 127;
}

// A path as a program argument: one beginning with "-" must not read as an
// option.
std::string pathArgument(const std::string& path) {
    return !path.empty() && path.front() == '-' ? "./" + path : path;
}

void openWithOpener(const std::string& path) {
    const std::string opener = talmo::findOnPath("xdg-open");
    if (opener.empty()) {
        std::fprintf(stderr, "talmo-batch: no xdg-open to open %s\n", path.c_str());
        return;
    }
    runAndWait(opener, {"xdg-open", pathArgument(path)});
}

// Runs one line; its exit status.
int runStep(const talmo::BatchStep& step) {
    using Kind = talmo::BatchStep::Kind;
    switch (step.kind) {
    case Kind::Nothing:
        return 0;
    case Kind::ChangeDir:
        if (::chdir(step.argument.c_str()) == 0)
            return 0;
        std::fprintf(stderr, "talmo-batch: cd %s: %s\n", step.argument.c_str(),
                     std::strerror(errno));
        return 1;
    case Kind::Notepad: {
        const std::string notepad = talmo::findOnPath("notepad");
        if (!notepad.empty()) {
            std::vector<std::string> args{"notepad"};
            if (!step.argument.empty())
                args.push_back(pathArgument(step.argument));
            runAndWait(notepad, args);
        } else if (!step.argument.empty()) {
            openWithOpener(step.argument);
        }
        return 0;
    }
    case Kind::Open:
        openWithOpener(step.argument);
        return 0;
    case Kind::Shell:
        return runAndWait("/bin/sh", {"sh", "-c", step.argument});
    }
    return 0;
}

// Keeps the standard output for the progress only: the started programs
// get the standard error as theirs. Returns the progress descriptor, which
// no program inherits.
int takeStandardOutput() {
    const int progress = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    if (progress >= 0)
        ::dup2(2, 1);
    return progress;
}

void reportLine(int progress, std::size_t number, int status) {
    if (progress < 0)
        return;
    const std::string text = talmo::progressLine(number, status);
    [[maybe_unused]] const ssize_t w = ::write(progress, text.data(), text.size());
}

} // namespace

int main(int argc, char** argv) {
    const bool withProgress = argc == 3 && std::strcmp(argv[1], "--progress") == 0;
    if (argc != 2 && !withProgress) {
        std::fprintf(stderr, "usage: talmo-batch [--progress] FILE\n");
        return 2;
    }
    const char* file = argv[argc - 1];
    closeInheritedDescriptors();
    const int progress = withProgress ? takeStandardOutput() : -1;
    std::string bytes;
    try {
        bytes = talmo::readFileBytes(file);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "talmo-batch: %s\n", e.what());
        return 1;
    }
    const std::vector<talmo::BatchStep> steps = talmo::batchSteps(file, bytes);
    int shellStatus = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const int status = runStep(steps[i]);
        if (steps[i].kind == talmo::BatchStep::Kind::Shell)
            shellStatus = status;
        reportLine(progress, i + 1, status);
    }
    return shellStatus;
}

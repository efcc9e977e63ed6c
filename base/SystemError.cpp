// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemError.h"

#include "FileError.h"
#include "PathBytes.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace talmo {

void failWithErrno(const std::string& what, const std::filesystem::path& path, int err) {
    throw FileError(what + " \"" + pathBytes(path) + "\": " + std::strerror(err));
}

#ifdef _WIN32

int errnoOfWindowsError(unsigned long code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

void failWithSystemError(const std::string& what, const std::filesystem::path& path,
                         unsigned long code) {
    failWithErrno(what, path, errnoOfWindowsError(code));
}

#endif

} // namespace talmo

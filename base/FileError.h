// SPDX-License-Identifier: GPL-3.0-or-later
// The error of every file function of the program. No Qt.
#pragma once

#include <stdexcept>

namespace talmo {

// Raised by a load or a save that cannot be carried out; what() says why.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace talmo

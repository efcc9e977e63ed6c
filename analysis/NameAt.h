// SPDX-License-Identifier: GPL-3.0-or-later
// The name at a place of a QuakeC text, the name being typed before it, and
// the call whose arguments are being typed there. No Qt.
#pragma once

#include "Editor.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace talmo {

// A name of the text, where it starts, and whether a "." comes before it
// (blanks between allowed: a field) or a "$" right before it (a frame name).
struct NameAt {
    std::string name;
    std::size_t start = 0;
    bool afterDot = false;
    bool afterDollar = false;
};

// The identifier that byte `offset` lies in or ends at; nullopt where there
// is none (or it starts with a digit).
std::optional<NameAt> nameAtOffset(std::string_view text, std::size_t offset);

// The same at position `position` of an editor (F1, F12, Shift+F12, the
// hover), reading only the text around it; `start` is an editor position.
std::optional<NameAt> nameAt(const Editor& editor, long position);

// The part of an identifier that ends at `offset` (possibly empty), as typed
// so far.
NameAt typedPrefix(std::string_view text, std::size_t offset);

// The call whose argument list `offset` lies in: the function's name and
// which argument (0-based, counted by the "," at its level). Looks back on
// the line and the lines before, up to a ";", "{" or "}" outside the call.
struct CallAt {
    std::string function;
    int argument = 0;
};
std::optional<CallAt> callAtOffset(std::string_view text, std::size_t offset);

} // namespace talmo

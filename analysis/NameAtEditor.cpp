// SPDX-License-Identifier: GPL-3.0-or-later
#include "NameAt.h"

namespace talmo {

std::optional<NameAt> nameAt(const Editor& editor, long position) {
    const long length = editor.length();
    if (position < 0 || position > length)
        return std::nullopt;
    // Names are short: the text is read around the position, and the reach
    // grows until the name and the blanks before it lie inside it.
    for (long reach = 256;; reach *= 4) {
        const long from = position > reach ? position - reach : 0;
        const std::string slice = editor.textRange(from, 2 * reach);
        const long to = from + static_cast<long>(slice.size());
        std::optional<NameAt> found =
            nameAtOffset(slice, static_cast<std::size_t>(position - from));
        if (found) {
            const long start = from + static_cast<long>(found->start);
            const long end = start + static_cast<long>(found->name.size());
            const bool cut = (from > 0 && start - from < 64) || (end == to && to < length);
            if (cut && !(from == 0 && to >= length))
                continue;
            found->start = static_cast<std::size_t>(start);
        }
        return found;
    }
}

} // namespace talmo

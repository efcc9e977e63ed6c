// SPDX-License-Identifier: GPL-3.0-or-later
// The errors and warnings a QuakeC compiler writes into "log", read from its
// text. Understood forms (the kind word in any ASCII case, optionally
// followed by a code such as "warning F307"):
//   file:line: error: text            (fteqcc)
//   file:line:column: error: text     (fteqcc with a column, gmqcc)
//   file(line) : error: text          (the Windows compilers; "(line,column)" too)
// A message without a place starts its line with the kind word in lower case
// ("error: text", "warning: Model x.mdl was precached but not directly
// used"), as the compilers write the messages they count. fteqcc writes an
// error it cannot place under a banner ("**** ERROR ****", then "Couldn't
// open file progs.src"): the banner's next line is that error, unless it only
// says that errors listed before have occurred. A line of no such form is not
// a message. No Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

struct CompilerMessage {
    enum class Kind { Error, Warning };
    Kind kind = Kind::Error;
    std::string file; // as the compiler wrote it (file-name encoding); "" for no place
    int line = 0;     // 1-based; 0 for a message without a place
    int column = 0;   // 1-based; 0 when the compiler gave none
    std::string text; // after "error:" / "warning:", blanks around it removed (8-bit)
    friend bool operator==(const CompilerMessage&, const CompilerMessage&) = default;
};

// The messages of a compiler's output, in order. Lines end at LF, a CR before
// it ignored.
std::vector<CompilerMessage> parseCompilerMessages(std::string_view output);

// The header of a compile's messages. `exitStatus` is the compiler's (nullopt
// when unknown). A compiler that failed without one error read says so: "the
// compiler failed (exit status N); see log". Otherwise "no errors" when there
// is no message at all, else "N errors, M warnings" with "1 error" /
// "1 warning" in the singular.
std::string messageSummary(const std::vector<CompilerMessage>& messages,
                           std::optional<int> exitStatus = std::nullopt);

} // namespace talmo

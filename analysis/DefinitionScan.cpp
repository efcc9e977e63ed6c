// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefinitionScan.h"

#include "ByteSearch.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <tuple>

namespace talmo {

namespace {

constexpr std::array<bool, 256> identifierTable() {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<std::size_t>(c)] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                         (c >= '0' && c <= '9') || c == '_' ||
                                         (c >= 0x80 && c != 0xA0);
    return t;
}
constexpr std::array<bool, 256> kIdentifier = identifierTable();

bool identifierStart(unsigned char c) {
    return kIdentifier[c] && !(c >= '0' && c <= '9');
}

// A position in the text that skips the parts of the text that are not code.
// Lines are not counted here: they are counted once, at the end, for the
// places that need them.
struct Cursor {
    std::string_view s;
    std::size_t pos = 0;
    bool atLineStart = true;

    unsigned char at(std::size_t i) const { return static_cast<unsigned char>(s[i]); }
    bool startsComment() const {
        return s[pos] == '/' && pos + 1 < s.size() && (s[pos + 1] == '/' || s[pos + 1] == '*');
    }
    // At "//" or "/*": past the comment, a "//" one up to its line break.
    void skipComment() {
        if (s[pos + 1] == '/') {
            pos = lineEndOf(s, pos);
            return;
        }
        pos += 2;
        for (;;) {
            const std::size_t star = s.find('*', pos);
            if (star == std::string_view::npos || star + 1 >= s.size()) {
                pos = s.size();
                return;
            }
            pos = star + 1;
            if (s[pos] == '/') {
                ++pos;
                return;
            }
        }
    }
    // At "#" or "$" that begins a line: up to its line break or to a
    // comment on the line, which is skipped as everywhere else.
    void skipDirective() {
        const std::size_t end = lineEndOf(s, pos);
        while (pos < end) {
            if (startsComment())
                return;
            if (s[pos] == '"' || s[pos] == '\'')
                skipString();
            else
                ++pos;
        }
    }
    // At a quote: past the closing quote, or up to the line break of an
    // unclosed string.
    void skipString() {
        const char quote = s[pos++];
        while (pos < s.size()) {
            pos = quote == '"' ? findAnyOf<'"', '\\', '\r', '\n'>(s, pos)
                               : findAnyOf<'\'', '\\', '\r', '\n'>(s, pos);
            if (pos >= s.size())
                return;
            const char c = s[pos];
            if (c == quote) {
                ++pos;
                return;
            }
            if (c == '\r' || c == '\n')
                return;
            // A backslash escapes the next byte, but not a line break.
            pos += (pos + 1 < s.size() && s[pos + 1] != '\r' && s[pos + 1] != '\n') ? 2 : 1;
        }
    }
};

// Counts lines forward through a text, for places met in text order.
// Each byte is looked at a bounded number of times, however long a line.
struct LineCounter {
    std::string_view s;
    std::size_t pos = 0;
    int line = 1;
    std::size_t lineStart = 0;
    std::size_t lineEnd = std::string_view::npos; // of `line`, once known

    // The line and column of `offset`, at or after the last place asked.
    std::pair<int, int> at(std::size_t offset) {
        if (const std::size_t breaks = countLineBreaks(s, pos, offset); breaks > 0) {
            line += static_cast<int>(breaks);
            lineStart = lineStartOf(s, offset); // stops at the break just counted
            lineEnd = std::string_view::npos;
        }
        pos = offset;
        return {line, static_cast<int>(offset - lineStart)};
    }
    // The end of the line of the last place asked.
    std::size_t endOfLine() {
        if (lineEnd == std::string_view::npos)
            lineEnd = lineEndOf(s, pos);
        return lineEnd;
    }
};

bool isTypeName(std::string_view w) {
    return w == "void" || w == "float" || w == "vector" || w == "string" || w == "entity" ||
           w == "int" || w == "integer" || w == "variant" || w == "__variant" || w == "__int" ||
           w == "__uint" || w == "__int64" || w == "__uint64" || w == "double" || w == "__double";
}

bool isModifier(std::string_view w) {
    return w == "var" || w == "const" || w == "nosave" || w == "noref" || w == "shared" ||
           w == "static" || w == "extern" || w == "local" || w == "inline" || w == "nonvirtual" ||
           w == "__wrap" || w == "__used" || w == "__unused" || w == "__weak" ||
           w == "__accumulate" || w == "__inline" || w == "unsigned" || w == "signed";
}

// The words that declare a type of their own.
bool declaresType(std::string_view w) {
    return w == "typedef" || w == "accessor" || w == "enum" || w == "enumflags" || w == "class" ||
           w == "struct" || w == "union";
}

enum class Tok : std::uint8_t { End, Identifier, Number, String, Punct, Directive };

// Offsets fit 32 bits: sources stay far below 4 GB.
struct Token {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    Tok type = Tok::End;
    bool firstOnLine = false;
};

class Lexer {
public:
    explicit Lexer(std::string_view text) { m_c.s = text; }

    // Fills `t` in place: a token returned by value went through memory in
    // pieces the parser then read whole, which stalled every token.
    void next(Token& t) {
        Cursor& c = m_c;
        while (c.pos < c.s.size()) {
            const unsigned char b = c.at(c.pos);
            if (b == '\r' || b == '\n') {
                c.atLineStart = true;
                ++c.pos;
                continue;
            }
            if (b <= ' ' || b == 0xA0) {
                ++c.pos;
                continue;
            }
            if (c.startsComment()) {
                c.skipComment();
                continue;
            }
            t.start = static_cast<std::uint32_t>(c.pos);
            t.type = Tok::Punct;
            t.firstOnLine = c.atLineStart;
            c.atLineStart = false;
            if ((b == '#' || b == '$') && t.firstOnLine && c.pos + 1 < c.s.size() &&
                identifierStart(c.at(c.pos + 1))) {
                t.type = Tok::Directive;
                c.skipDirective();
            } else if (b == '"' || b == '\'') {
                t.type = Tok::String;
                c.skipString();
            } else if (kIdentifier[b]) {
                t.type = identifierStart(b) ? Tok::Identifier : Tok::Number;
                ++c.pos;
                while (c.pos < c.s.size() &&
                       (kIdentifier[c.at(c.pos)] || (t.type == Tok::Number && c.s[c.pos] == '.')))
                    ++c.pos;
            } else {
                ++c.pos;
            }
            t.end = static_cast<std::uint32_t>(c.pos);
            return;
        }
        t.start = t.end = static_cast<std::uint32_t>(c.s.size());
        t.type = Tok::End;
        t.firstOnLine = false;
    }

    // Just after a "{": past its matching "}" (or to the end of the text).
    // A body left unfinished (while it is typed) ends before the next line
    // that plainly starts a definition at its first column, so it hides no
    // more than itself.
    void skipBlock() {
        Cursor& c = m_c;
        int depth = 1;
        for (;;) {
            c.pos = findAnyOf<'{', '}', '/', '"', '\'', '\r', '\n'>(c.s, c.pos);
            if (c.pos >= c.s.size())
                return;
            switch (c.s[c.pos]) {
            case '\r':
            case '\n':
                // A line break of any kind (LF, CR LF, a lone CR).
                if (c.s[c.pos++] == '\r' && c.pos < c.s.size() && c.s[c.pos] == '\n')
                    ++c.pos;
                if (startsDefinitionLine(c.pos)) {
                    c.atLineStart = true;
                    return;
                }
                break;
            case '{':
                ++depth;
                ++c.pos;
                break;
            case '}':
                ++c.pos;
                if (--depth == 0) {
                    c.atLineStart = false;
                    return;
                }
                break;
            case '/':
                if (c.startsComment())
                    c.skipComment();
                else
                    ++c.pos;
                break;
            default:
                c.skipString();
                break;
            }
        }
    }

private:
    // A line that no body holds: "$frame", a field (".float"), or a
    // function's head: a type, its parameter list on the line, and a name
    // ("void(entity e) name").
    bool startsDefinitionLine(std::size_t pos) const {
        const std::string_view s = m_c.s;
        if (pos >= s.size())
            return false;
        if (s[pos] == '$')
            return s.substr(pos, 7) == "$frame ";
        const bool field = s[pos] == '.';
        std::size_t end = pos + (field ? 1 : 0);
        const std::size_t start = end;
        while (end < s.size() && kIdentifier[static_cast<unsigned char>(s[end])])
            ++end;
        if (!isTypeName(s.substr(start, end - start)))
            return false;
        if (field)
            return true;
        auto skipBlanks = [&] {
            while (end < s.size() && (s[end] == ' ' || s[end] == '\t'))
                ++end;
        };
        skipBlanks();
        if (end >= s.size() || s[end] != '(')
            return false;
        for (int depth = 0; end < s.size() && s[end] != '\n' && s[end] != '\r'; ++end) {
            if (s[end] == '(')
                ++depth;
            else if (s[end] == ')' && --depth == 0)
                break;
        }
        if (end >= s.size() || s[end] != ')')
            return false;
        ++end;
        skipBlanks();
        return end < s.size() && identifierStart(static_cast<unsigned char>(s[end]));
    }

    Cursor m_c;
};

class Parser {
public:
    Parser(std::string_view text, std::vector<Definition>& out)
        : m_s(text), m_lexer(text), m_out(out) {}

    void run() {
        const std::size_t first = m_out.size();
        advance();
        while (m_t.type != Tok::End)
            statement();
        LineCounter lines{m_s};
        for (std::size_t i = first; i < m_out.size(); ++i)
            std::tie(m_out[i].line, m_out[i].column) = lines.at(m_out[i].offset);
    }

private:
    void advance() { m_lexer.next(m_t); }
    std::string_view word(const Token& t) const { return m_s.substr(t.start, t.end - t.start); }
    bool punct(char c) const { return m_t.type == Tok::Punct && m_s[m_t.start] == c; }
    // A token that can only begin a declaration, on a line of its own.
    // A type declared elsewhere counts by the shape of what follows it.
    bool beginsDeclaration() {
        if (!m_t.firstOnLine)
            return false;
        if (m_t.type == Tok::Directive || punct('.'))
            return true;
        return m_t.type == Tok::Identifier && (isTypeName(word(m_t)) || isModifier(word(m_t)) ||
                                               declaresType(word(m_t)) || typeByShape());
    }

    void emit(const Token& name, DefinitionKind kind) { emitAt(name.start, name.end, kind); }
    // Lines and columns are filled in at the end.
    void emitAt(std::size_t start, std::size_t end, DefinitionKind kind) {
        m_out.push_back({std::string(m_s.substr(start, end - start)), kind, 0, 0, start});
    }

    // At an opening "(" or "[": past its matching closer.
    void skipGroup() {
        const char open = m_s[m_t.start];
        const char close = open == '(' ? ')' : ']';
        int depth = 0;
        while (m_t.type != Tok::End) {
            if (punct(open))
                ++depth;
            else if (punct(close) && --depth == 0) {
                advance();
                return;
            }
            advance();
        }
    }

    // At "{": past the block, and past the ";" that may end it.
    void skipBody() {
        m_lexer.skipBlock();
        advance();
        if (punct(';'))
            advance();
    }

    // Up to the "," or ";" that ends an initialiser (not consumed), or to a
    // line that begins a declaration where the ";" is missing.
    void skipInitialiser() {
        int depth = 0;
        bool first = true;
        while (m_t.type != Tok::End && m_t.type != Tok::Directive) {
            if (depth == 0 && (punct(',') || punct(';') || (!first && beginsDeclaration())))
                return;
            first = false;
            if (punct('(') || punct('['))
                ++depth;
            else if ((punct(')') || punct(']')) && depth > 0)
                --depth;
            else if (punct('{'))
                m_lexer.skipBlock();
            advance();
        }
    }

    // Something that is no declaration: up to its ";" or past its block,
    // stopping early where a new declaration plainly begins.
    void recover() {
        bool first = true;
        while (m_t.type != Tok::End) {
            if (!first && beginsDeclaration())
                return;
            first = false;
            if (punct(';')) {
                advance();
                return;
            }
            if (punct('{')) {
                skipBody();
                return;
            }
            advance();
        }
    }

    void directive() {
        const std::string_view text = word(m_t);
        const std::string_view head = text.substr(0, text.find_first_of(" \t"));
        if (head == "$frame" || head == "#define") {
            std::size_t i = m_t.start + head.size();
            while (i < m_t.end) {
                if (m_s[i] == '"' || m_s[i] == '\'') {
                    Cursor quoted{m_s, i};
                    quoted.skipString();
                    i = quoted.pos;
                    continue;
                }
                if (!kIdentifier[static_cast<unsigned char>(m_s[i])]) {
                    ++i;
                    continue;
                }
                const std::size_t start = i;
                while (i < m_t.end && kIdentifier[static_cast<unsigned char>(m_s[i])])
                    ++i;
                if (!identifierStart(static_cast<unsigned char>(m_s[start])))
                    continue;
                if (head == "#define") {
                    emitAt(start, i, DefinitionKind::Constant);
                    break;
                }
                emitAt(start, i, DefinitionKind::Frame);
            }
        }
        advance();
    }

    // At an identifier that is no type the scan knows: whether a declaration
    // follows as it would after a type (a type declared elsewhere, such as
    // "strbuf"): "T name" before ";", "=", ",", "[" or "(", or "T(...) name",
    // either after "*"s. Looks a bounded way ahead and moves nothing.
    bool typeByShape() {
        const Lexer lexer = m_lexer;
        const Token at = m_t;
        advance();
        while (punct('*'))
            advance();
        bool shaped = false;
        if (punct('(')) {
            int depth = 0;
            for (int budget = 256; budget > 0 && m_t.type != Tok::End; --budget) {
                if (punct('('))
                    ++depth;
                else if (punct(')') && --depth == 0)
                    break;
                advance();
            }
            if (punct(')')) {
                advance();
                shaped = m_t.type == Tok::Identifier;
            }
        } else if (m_t.type == Tok::Identifier) {
            advance();
            shaped = punct(';') || punct('=') || punct(',') || punct('[') || punct('(');
        }
        m_lexer = lexer;
        m_t = at;
        return shaped;
    }

    // At "enum" or "enumflags": its name (a type) when it has one, and its
    // values (constants); past the closing "}".
    void enumeration() {
        advance();
        while (m_t.type != Tok::End && !punct('{') && !punct(';')) {
            if (m_t.type == Tok::Identifier && !isTypeName(word(m_t)))
                emit(m_t, DefinitionKind::Type);
            advance();
        }
        if (!punct('{'))
            return;
        advance();
        int depth = 0;
        bool nameNext = true;
        while (m_t.type != Tok::End) {
            if (depth == 0 && punct('}')) {
                advance();
                return;
            }
            if (punct('(') || punct('[') || punct('{'))
                ++depth;
            else if ((punct(')') || punct(']') || punct('}')) && depth > 0)
                --depth;
            if (depth == 0 && punct(','))
                nameNext = true;
            else if (nameNext && m_t.type == Tok::Identifier) {
                emit(m_t, DefinitionKind::Constant);
                nameNext = false;
            } else {
                nameNext = false;
            }
            advance();
        }
    }

    // At "typedef": the name it declares is its last word outside brackets
    // before the ";" ("typedef float strbuf;", "typedef struct {...} pair;",
    // "typedef void(float) callback;").
    void typeDefinition() {
        advance();
        if (m_t.type == Tok::Identifier && (word(m_t) == "enum" || word(m_t) == "enumflags"))
            enumeration();
        std::optional<Token> last;
        int depth = 0;
        for (bool first = true; m_t.type != Tok::End && m_t.type != Tok::Directive; first = false) {
            if (depth == 0 && (punct(';') || (!first && beginsDeclaration())))
                break;
            if (punct('{')) {
                m_lexer.skipBlock();
                advance();
                continue;
            }
            if (punct('(') || punct('['))
                ++depth;
            else if ((punct(')') || punct(']')) && depth > 0)
                --depth;
            else if (depth == 0 && m_t.type == Tok::Identifier && !declaresType(word(m_t)))
                last = m_t;
            advance();
        }
        if (last)
            emit(*last, DefinitionKind::Type);
        if (punct(';'))
            advance();
    }

    // At a word that declares a type.
    void typeDeclaration() {
        const std::string_view keyword = word(m_t);
        if (keyword == "typedef") {
            typeDefinition();
            return;
        }
        if (keyword == "enum" || keyword == "enumflags") {
            enumeration();
            if (punct(';'))
                advance();
            return;
        }
        // accessor NAME : base [{...}];  class NAME [: base] {...};  struct NAME {...};
        advance();
        if (m_t.type == Tok::Identifier) {
            emit(m_t, DefinitionKind::Type);
            advance();
        }
        if (!beginsDeclaration())
            recover();
    }

    void statement() {
        if (m_t.type == Tok::Directive) {
            directive();
            return;
        }
        if (punct(';')) {
            advance();
            return;
        }
        bool isVar = false;
        while (m_t.type == Tok::Identifier && isModifier(word(m_t))) {
            isVar = isVar || word(m_t) == "var";
            advance();
        }
        if (m_t.type == Tok::Identifier && declaresType(word(m_t))) {
            typeDeclaration();
            return;
        }
        const bool field = punct('.');
        if (field)
            advance();
        if (m_t.type != Tok::Identifier || (!isTypeName(word(m_t)) && !typeByShape())) {
            recover();
            return;
        }
        advance();
        while (punct('*'))
            advance();
        const bool functionType = punct('(');
        if (functionType)
            skipGroup();
        for (;;) {
            if (m_t.type != Tok::Identifier) {
                recover();
                return;
            }
            const Token name = m_t;
            advance();
            const bool cStyle = punct('(');
            if (cStyle)
                skipGroup();
            while (punct('['))
                skipGroup();
            const bool function = (functionType || cStyle) && !field;
            const DefinitionKind valueKind =
                isVar ? DefinitionKind::Global : DefinitionKind::Constant;
            if (field)
                emit(name, DefinitionKind::Field);
            if (punct('=')) {
                advance();
                if (function && punct('#')) {
                    emit(name, DefinitionKind::Builtin);
                } else if (function && punct('{')) {
                    emit(name, DefinitionKind::Function);
                    skipBody();
                    return;
                } else if (function && punct('[')) {
                    emit(name, DefinitionKind::Function);
                    skipGroup();
                    if (punct('{'))
                        skipBody();
                    return;
                } else if (!field) {
                    emit(name, valueKind);
                }
                skipInitialiser();
            } else if (function && punct('{')) {
                emit(name, DefinitionKind::Function);
                skipBody();
                return;
            } else if (!field) {
                emit(name, function ? DefinitionKind::Prototype : DefinitionKind::Global);
            }
            if (punct(',')) {
                advance();
                continue;
            }
            // A missing ";" hides nothing: a declaration on the next line
            // is read as such.
            if (punct(';'))
                advance();
            else if (!beginsDeclaration())
                recover();
            return;
        }
    }

    std::string_view m_s;
    Lexer m_lexer;
    Token m_t;
    std::vector<Definition>& m_out;
};

} // namespace

std::string_view definitionKindName(DefinitionKind kind) {
    switch (kind) {
    case DefinitionKind::Prototype:
        return "prototype";
    case DefinitionKind::Function:
        return "function";
    case DefinitionKind::Builtin:
        return "builtin";
    case DefinitionKind::Field:
        return "field";
    case DefinitionKind::Global:
        return "global";
    case DefinitionKind::Constant:
        return "constant";
    case DefinitionKind::Frame:
        return "frame";
    case DefinitionKind::Type:
        return "type";
    }
    return "definition";
}

bool isIdentifierByte(unsigned char c) {
    return kIdentifier[c];
}

std::vector<Definition> scanDefinitions(std::string_view text) {
    std::vector<Definition> found;
    scanDefinitionsInto(text, found);
    return found;
}

void scanDefinitionsInto(std::string_view text, std::vector<Definition>& out) {
    // Tokens hold 32-bit offsets; no source comes near 4 GB.
    Parser(text.substr(0, UINT32_MAX), out).run();
}

std::vector<TextUsage> findUsagesInText(std::string_view text, std::string_view name) {
    std::vector<TextUsage> found;
    if (name.empty() || !identifierStart(static_cast<unsigned char>(name[0])) ||
        !std::all_of(name.begin(), name.end(),
                     [](char c) { return kIdentifier[static_cast<unsigned char>(c)]; }))
        return found;
    Cursor walk;
    walk.s = text;
    LineCounter lines{text};
    for (std::size_t hit = text.find(name); hit != std::string_view::npos;
         hit = text.find(name, hit + 1)) {
        const std::size_t end = hit + name.size();
        if ((hit > 0 && kIdentifier[walk.at(hit - 1)]) ||
            (end < text.size() && kIdentifier[walk.at(end)]))
            continue;
        // Walk the code up to the hit; one that falls inside a comment or a
        // string is passed over with it.
        while (walk.pos < hit) {
            walk.pos = findAnyOf<'/', '"', '\''>(text.substr(0, hit), walk.pos);
            if (walk.pos == hit)
                break;
            if (text[walk.pos] != '/')
                walk.skipString();
            else if (walk.startsComment())
                walk.skipComment();
            else
                ++walk.pos;
        }
        if (walk.pos != hit)
            continue;
        const auto [line, column] = lines.at(hit);
        const std::size_t lineStart = hit - static_cast<std::size_t>(column);
        found.push_back({line, column, lineStart, lines.endOfLine() - lineStart});
    }
    return found;
}

std::string_view lineAround(std::string_view text, std::size_t offset) {
    if (offset > text.size())
        return {};
    const std::size_t start = lineStartOf(text, offset);
    return text.substr(start, lineEndOf(text, offset) - start);
}

std::optional<std::size_t> definitionPlace(std::string_view text, const Definition& wanted) {
    // The start of the definition's line: lines end at LF, CR LF or a lone CR.
    std::optional<std::size_t> lineStart;
    if (wanted.line >= 1) {
        std::size_t at = 0;
        int line = 1;
        while (line < wanted.line && at < text.size()) {
            const char c = text[at++];
            if (c == '\n' || (c == '\r' && (at == text.size() || text[at] != '\n')))
                ++line;
        }
        if (line == wanted.line)
            lineStart = at;
    }
    if (lineStart && wanted.column >= 0) {
        const std::size_t at = *lineStart + static_cast<std::size_t>(wanted.column);
        if (at <= text.size() && text.substr(at, wanted.name.size()) == wanted.name)
            return at;
    }
    for (const Definition& d : scanDefinitions(text))
        if (d.name == wanted.name && d.kind == wanted.kind)
            return d.offset;
    return std::nullopt;
}

} // namespace talmo

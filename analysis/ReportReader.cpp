// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportReader.h"

#include "Editor.h"
#include "InputFile.h"

#include <cstring>

namespace talmo {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 18;

// Position of the first `c` in [from, to) of `s`, or `to`.
std::size_t findByte(const std::string& s, char c, std::size_t from, std::size_t to) {
    const void* hit = std::memchr(s.data() + from, c, to - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s.data()) : to;
}

// One past the last LF in [from, to) of `s`, or `from` when there is none.
std::size_t afterLastLf(const std::string& s, std::size_t from, std::size_t to) {
#ifdef __GLIBC__
    const void* lf = ::memrchr(s.data() + from, '\n', to - from);
    return lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - s.data()) + 1 : from;
#else
    while (to > from && s[to - 1] != '\n')
        --to;
    return to;
#endif
}

std::string_view lineView(const std::string& s, std::size_t begin, std::size_t lf) {
    std::size_t end = lf;
    if (end > begin && s[end - 1] == '\r')
        --end;
    return std::string_view(s.data() + begin, end - begin);
}

} // namespace

ReportReader::ReportReader() : m_buffer(kChunk, '\0') {}

ReportReader::~ReportReader() {
    close();
}

void ReportReader::open(const std::filesystem::path& path) {
    close();
    m_file = std::make_unique<InputFile>(path);
    m_pos = m_end = 0;
    m_eof = false;
}

void ReportReader::close() {
    m_file.reset();
    m_pos = m_end = 0;
    m_eof = true;
}

bool ReportReader::isOpen() const {
    return m_file != nullptr;
}

bool ReportReader::fill() {
    if (!isOpen() || m_eof)
        return false;
    // Keep the unread part at the front; grow when it fills the buffer (a
    // line longer than the buffer).
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
        m_end -= m_pos;
        m_pos = 0;
    }
    if (m_end == m_buffer.size())
        m_buffer.resize(m_buffer.size() * 2);
    std::size_t n = 0;
    try {
        n = m_file->read(m_buffer.data() + m_end, m_buffer.size() - m_end);
    } catch (const FileError&) {
        close();
        throw;
    }
    if (n == 0) {
        m_eof = true;
        return false;
    }
    m_end += n;
    return true;
}

bool ReportReader::readLine(std::string_view& line) {
    for (;;) {
        const std::size_t lf = findByte(m_buffer, '\n', m_pos, m_end);
        if (lf < m_end) {
            line = lineView(m_buffer, m_pos, lf);
            m_pos = lf + 1;
            return true;
        }
        if (!fill()) {
            if (m_pos == m_end)
                return false;
            line = std::string_view(m_buffer.data() + m_pos, m_end - m_pos);
            m_pos = m_end;
            return true;
        }
    }
}

bool ReportReader::readLineContaining(char key, std::string_view& line) {
    for (;;) {
        const std::size_t hit = findByte(m_buffer, key, m_pos, m_end);
        if (hit < m_end) {
            const std::size_t begin = afterLastLf(m_buffer, m_pos, hit);
            const std::size_t lf = findByte(m_buffer, '\n', hit, m_end);
            if (lf < m_end) {
                line = lineView(m_buffer, begin, lf);
                m_pos = lf + 1;
                return true;
            }
            // The line runs past the data read so far.
            m_pos = begin;
            if (!fill()) {
                line = std::string_view(m_buffer.data() + m_pos, m_end - m_pos);
                m_pos = m_end;
                return true;
            }
            continue;
        }
        // No key in the complete lines read: drop them, keep the partial one.
        m_pos = afterLastLf(m_buffer, m_pos, m_end);
        if (!fill()) {
            m_pos = m_end;
            return false;
        }
    }
}

} // namespace talmo

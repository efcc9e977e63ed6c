// SPDX-License-Identifier: GPL-3.0-or-later
// `ReportReader`: the one reader through which the report scans read their
// files, a line at a time, in large buffered chunks. At most one file is open
// in it; it is closed between scans.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace talmo {

class InputFile;

class ReportReader {
public:
    ReportReader();
    ~ReportReader();
    ReportReader(const ReportReader&) = delete;
    ReportReader& operator=(const ReportReader&) = delete;

    // Opens `path` for reading, closing the file held before. Throws
    // FileError (Editor.h) when it cannot be opened or is no regular file;
    // a FIFO or a device is refused rather than waited on.
    void open(const std::filesystem::path& path);
    void close();
    bool isOpen() const;

    // The next line without its line end (LF, or CR LF); false at the end of
    // the file. A final line without a line break is returned; a file ending
    // in a line break has no empty line after it. The view stays valid until
    // the next call. Throws FileError when reading fails.
    bool readLine(std::string_view& line);

    // The next line that contains the byte `key`, skipping the others; the
    // same lines, in the same order, as readLine() filtered on `key`, found
    // without looking at every line end.
    bool readLineContaining(char key, std::string_view& line);

private:
    // Reads more of the file after the data still unread; false at its end.
    bool fill();

    std::unique_ptr<InputFile> m_file;
    std::string m_buffer;
    std::size_t m_pos = 0; // first unread byte of m_buffer
    std::size_t m_end = 0; // end of the valid data in m_buffer
    bool m_eof = false;
};

} // namespace talmo

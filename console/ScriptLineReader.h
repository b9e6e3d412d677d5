#pragma once
// Script files as 8-bit text, one line at a time. A line ends at LF (a CR
// right before it is not part of the text); a CR anywhere else is dropped; a
// byte 26 (Ctrl+Z) ends the text as the end of the file does. A last line
// without a line break still counts; an empty file has no lines.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class ScriptLineReader {
public:
    // Raises EInOutError when the path cannot be opened, or names something
    // other than a plain file (a directory, a pipe or a terminal, which could
    // leave the run waiting for input).
    explicit ScriptLineReader(const std::string& path);
    ~ScriptLineReader();
    ScriptLineReader(const ScriptLineReader&) = delete;
    ScriptLineReader& operator=(const ScriptLineReader&) = delete;

    // The next line without its line break; false at the end of the text.
    // Raises EInOutError on a read error.
    bool ReadLine(std::string& line);

private:
    // Refills the buffer; false at the physical end of the file.
    bool fill();

    std::string path_;
    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
};

// The number of lines ReadLine would deliver.
std::int64_t CountScriptLines(const std::string& path);

// The script file reader over arbitrary bytes. An odd first byte pads the text
// so that its interesting part straddles the reader's 64 KiB buffer.
#include "console/ScriptLineReader.h"
#include "fuzz/FuzzCheck.h"

#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kReaderBuffer = 64 * 1024;

// One scratch file in memory for the whole run, rewritten for every input (a
// file on disk rewritten after truncation is flushed at every close).
const std::string& ScratchPath() {
    static const std::string path = [] {
        const int fd = ::memfd_create("corvelo-fuzz-lines", MFD_CLOEXEC);
        FUZZ_CHECK(fd >= 0);
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

void WriteScratch(const std::string& content) {
    const int fd = std::stoi(ScratchPath().substr(ScratchPath().rfind('/') + 1));
    FUZZ_CHECK(::ftruncate(fd, 0) == 0);
    FUZZ_CHECK(::pwrite(fd, content.data(), content.size(), 0) == static_cast<ssize_t>(content.size()));
}

// The lines as the reader's contract describes them, from the whole text at once.
std::vector<std::string> ExpectedLines(const std::string& content) {
    const std::string text = content.substr(0, content.find('\x1A'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        const std::string raw =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos && raw.empty())
            break;
        std::string line;
        for (char c : raw)
            if (c != '\r')
                line += c;
        lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::string content;
    std::size_t body = 1;
    if ((data[0] & 1) != 0 && size >= 2) {
        content.assign(kReaderBuffer - data[1] % 64, 'x');
        body = 2;
    }
    content.append(reinterpret_cast<const char*>(data + body), size - body);
    WriteScratch(content);

    ScriptLineReader reader(ScratchPath());
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) {
        FUZZ_CHECK(line.find_first_of("\r\n\x1A") == std::string::npos);
        lines.push_back(line);
    }
    FUZZ_CHECK(!reader.ReadLine(line) && line.empty());
    FUZZ_CHECK(lines == ExpectedLines(content));
    FUZZ_CHECK(CountScriptLines(ScratchPath()) == static_cast<std::int64_t>(lines.size()));
    return 0;
}

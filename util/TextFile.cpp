#include "util/TextFile.h"

#include "util/Exceptions.h"
#include "util/SystemReason.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The path is the file system's (UTF-8) and the reason the program's own
// text, so the message reads right in the code page of every other message.
[[noreturn]] void fail(const std::string& what, const std::string& path, int error) {
    throw EInOutError(FileErrorMessage(what, path, error));
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string ReadFirstLine(const std::string& path) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        fail("N\xE3o foi poss\xEDvel abrir o arquivo", path, errno);
    std::string line;
    bool endedByLineFeed = false;
    for (;;) {
        const int c = std::fgetc(file.get());
        if (c == EOF) {
            if (std::ferror(file.get()))
                fail("N\xE3o foi poss\xEDvel ler o arquivo", path, errno ? errno : EIO);
            break;
        }
        if (c == '\n') {
            endedByLineFeed = true;
            break;
        }
        if (c == 26)
            break;
        line += static_cast<char>(c);
    }
    if (endedByLineFeed && !line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

void WriteSingleLine(const std::string& path, const std::string& line) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file)
        fail("N\xE3o foi poss\xEDvel criar o arquivo", path, errno);
    const std::string content = line + "\r\n";
    if (std::fwrite(content.data(), 1, content.size(), file.get()) != content.size() ||
        std::fflush(file.get()) != 0)
        fail("N\xE3o foi poss\xEDvel gravar o arquivo", path, errno ? errno : EIO);
    std::FILE* raw = file.release();
    if (std::fclose(raw) != 0)
        fail("N\xE3o foi poss\xEDvel gravar o arquivo", path, errno);
}

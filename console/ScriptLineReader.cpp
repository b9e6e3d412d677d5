#include "console/ScriptLineReader.h"

#include "util/Exceptions.h"
#include "util/SystemReason.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr char kEndOfText = 26;

// The path is the file system's (UTF-8) and the reason the program's own
// text, so the message reads right in the code page of every other message.
[[noreturn]] void fail(const std::string& what, const std::string& path, int error) {
    throw EInOutError(FileErrorMessage(what, path, error));
}

} // namespace

ScriptLineReader::ScriptLineReader(const std::string& path) : path_(path) {
    // Non-blocking only for the open itself: a pipe must not hang it.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        fail("N\xE3o foi poss\xEDvel abrir o arquivo", path, errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        ::close(fd_);
        fail("N\xE3o foi poss\xEDvel abrir o arquivo", path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd_);
        fail("N\xE3o foi poss\xEDvel abrir o arquivo", path, S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
    }
    buffer_ = std::make_unique<char[]>(kBufferSize);
}

ScriptLineReader::~ScriptLineReader() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool ScriptLineReader::fill() {
    for (;;) {
        const ssize_t got = ::read(fd_, buffer_.get(), kBufferSize);
        if (got > 0) {
            pos_ = 0;
            end_ = static_cast<std::size_t>(got);
            return true;
        }
        if (got == 0)
            return false;
        if (errno != EINTR && errno != EAGAIN)
            fail("N\xE3o foi poss\xEDvel ler o arquivo", path_, errno);
    }
}

bool ScriptLineReader::ReadLine(std::string& line) {
    line.clear();
    if (ended_)
        return false;
    if (pos_ == end_ && !fill()) {
        ended_ = true;
        return false;
    }
    if (buffer_[pos_] == kEndOfText) {
        ended_ = true;
        return false;
    }
    for (;;) {
        // Copy the run of ordinary bytes in one go.
        const char* begin = buffer_.get() + pos_;
        const char* stop = begin;
        const char* limit = buffer_.get() + end_;
        while (stop != limit && *stop != '\n' && *stop != '\r' && *stop != kEndOfText)
            ++stop;
        line.append(begin, stop);
        pos_ = static_cast<std::size_t>(stop - buffer_.get());
        if (stop != limit) {
            if (*stop == '\n') {
                ++pos_;
                return true;
            }
            if (*stop == kEndOfText) {
                ended_ = true;
                return true;
            }
            ++pos_; // a CR is never part of the text
            continue;
        }
        if (!fill()) {
            ended_ = true;
            return true;
        }
    }
}

std::int64_t CountScriptLines(const std::string& path) {
    ScriptLineReader reader(path);
    std::string line;
    std::int64_t count = 0;
    while (reader.ReadLine(line))
        ++count;
    return count;
}

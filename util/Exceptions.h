#pragma once
// The program's exception family. Every message is 8-bit code page 1252 text,
// shown to the user unchanged by the application-wide error handler.
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

// A text that cannot be converted to a number, date or time.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be opened, read or written.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// The silent error: it ends a handler and is never shown.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// The user stopped long work with "Cancelar": it ends the work where a
// failure would, and the window says so instead of showing an error.
class OperationCancelled : public Exception {
public:
    OperationCancelled() : Exception("Opera\xE7\xE3o cancelada pelo usu\xE1rio.") {}
};

#include "db/StatusVector.h"

#include "db/DatabaseErrors.h"
#include "util/Utf8Text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr unsigned kMessageBufferSize = 20480;
constexpr long kNoPermissionSqlCode = -551;

} // namespace

std::string DatabaseErrorMessage(const ClientLibrary& lib, const ISC_STATUS* status) {
    std::vector<char> buffer(kMessageBufferSize);
    std::string message;
    auto append = [&message, &buffer] {
        if (!message.empty() && message.back() != '\n')
            message += "\r\n";
        // Names of the connection's objects come in its code page; the
        // system's own texts (a path on the server, the reason a network call
        // failed) come as UTF-8 and are brought into the code page too.
        std::string text = buffer.data();
        message += IsUtf8BeyondAscii(text) ? Utf8ToAnsi(text) : text;
    };
    if (lib.fb_interpret) {
        const ISC_STATUS* walk = status;
        while (lib.fb_interpret(buffer.data(), kMessageBufferSize, &walk) > 0)
            append();
    } else {
        // The older call walks a non-const vector; give it a copy.
        ISC_STATUS_ARRAY copy;
        std::copy(status, status + ISC_STATUS_LENGTH, copy);
        ISC_STATUS* walk = copy;
        while (lib.interprete(buffer.data(), &walk) > 0)
            append();
    }
    if (!message.empty() && message.back() == '.')
        message.pop_back();
    return message;
}

void RaiseDatabaseError(const ClientLibrary& lib, const ISC_STATUS* status) {
    const long sqlCode = lib.sqlcode(status);
    std::string message = DatabaseErrorMessage(lib, status);
    if (sqlCode == kNoPermissionSqlCode)
        throw EIBInterBaseRoleError(static_cast<int>(sqlCode), status[1], std::move(message));
    throw EIBInterBaseError(static_cast<int>(sqlCode), status[1], std::move(message));
}

#include "db/BlobIO.h"

#include "db/StatusVector.h"

#include <algorithm>

namespace {

// A segment's length is a 16-bit count.
constexpr unsigned short kSegmentSize = 32768;

} // namespace

std::string ReadBlob(ClientHandle* database, ClientHandle* transaction, const ISC_QUAD& id) {
    const ClientLibrary& lib = Client();
    StatusVector status;
    ClientHandle blob = 0;
    ISC_QUAD blobId = id;
    lib.open_blob2(status.get(), database, transaction, &blob, &blobId, 0, nullptr);
    Check(lib, status.get());
    std::string content;
    std::string segment(kSegmentSize, '\0');
    for (;;) {
        unsigned short length = 0;
        const ISC_STATUS result = lib.get_segment(status.get(), &blob, &length, kSegmentSize, segment.data());
        if (result != 0 && result != isc_segment)
            break;
        content.append(segment, 0, length);
    }
    const bool readFailed = status.values[1] != isc_segstr_eof && Failed(status.get());
    StatusVector closeStatus;
    lib.close_blob(closeStatus.get(), &blob);
    if (readFailed)
        RaiseDatabaseError(lib, status.get());
    Check(lib, closeStatus.get());
    return content;
}

ISC_QUAD CreateBlob(ClientHandle* database, ClientHandle* transaction, const std::string& content) {
    const ClientLibrary& lib = Client();
    StatusVector status;
    ClientHandle blob = 0;
    ISC_QUAD id{};
    lib.create_blob2(status.get(), database, transaction, &blob, &id, 0, nullptr);
    Check(lib, status.get());
    for (std::size_t at = 0; at < content.size(); at += kSegmentSize) {
        const auto length =
            static_cast<unsigned short>(std::min<std::size_t>(kSegmentSize, content.size() - at));
        lib.put_segment(status.get(), &blob, length, content.data() + at);
        if (Failed(status.get())) {
            StatusVector ignored;
            lib.close_blob(ignored.get(), &blob);
            RaiseDatabaseError(lib, status.get());
        }
    }
    lib.close_blob(status.get(), &blob);
    Check(lib, status.get());
    return id;
}

#include "app/BlobText.h"

#include "app/ScreenText.h"

namespace {
bool isTextByte(unsigned char byte) {
    if (byte == '\r' || byte == '\n' || byte == '\t')
        return true;
    if (byte < 0x20 || byte == 0x7F)
        return false;
    // Left undefined by code page 1252.
    return byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D;
}
} // namespace

BlobText BlobToText(const std::string& bytes) {
    BlobText result;
    std::string printable;
    printable.reserve(bytes.size());
    QString shown;
    for (const char c : bytes) {
        if (isTextByte(static_cast<unsigned char>(c))) {
            printable += c;
        } else {
            result.editable = false;
            printable += '\x01'; // placeholder, replaced below
        }
    }
    result.shown = toScreen(printable);
    if (!result.editable)
        result.shown.replace(QChar(0x01), QChar(0xFFFD));
    return result;
}

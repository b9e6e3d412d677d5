#include "util/SystemReason.h"

#include "util/NumberText.h"
#include "util/Utf8Text.h"

#include <cerrno>

std::string SystemReason(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "o arquivo ou a pasta n\xE3o existe";
    case EACCES:
    case EPERM:
        return "sem permiss\xE3o";
    case EROFS:
        return "o disco s\xF3 permite leitura";
    case ENOSPC:
    case EDQUOT:
        return "n\xE3o h\xE1 espa\xE7o no disco";
    case EEXIST:
        return "j\xE1 existe um arquivo com esse nome";
    case EISDIR:
        return "o nome \xE9 de uma pasta";
    case ENAMETOOLONG:
        return "o nome \xE9 longo demais";
    case EINVAL:
        return "n\xE3o \xE9 um arquivo comum";
    case EIO:
        return "erro de leitura ou grava\xE7\xE3o no disco";
    case EMFILE:
    case ENFILE:
        return "arquivos abertos demais";
    default:
        return "erro " + IntToStr(error) + " do sistema";
    }
}

std::string FileErrorMessage(const std::string& what, const std::string& path, int error) {
    return what + " '" + Utf8ToAnsi(path) + "': " + SystemReason(error) + ".";
}

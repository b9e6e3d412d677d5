#include "util/SettingsLocation.h"

#include "util/Exceptions.h"
#include "util/SystemReason.h"
#include "util/TextUtils.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const SettingsFileName = "Config.txt";
const char* const ProgramFolderName = "corvelo";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string withoutTrailingSlashes(std::string path) {
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

std::string SettingsFilePath(const SettingsPlaces& places) {
    if (places.programFolderWritable)
        return places.programFolder + SettingsFileName;
    // A relative configuration folder would depend on where the program was
    // started from; such a value is ignored, as desktops ignore it.
    std::string configFolder;
    if (places.xdgConfigHome.starts_with('/'))
        configFolder = withoutTrailingSlashes(places.xdgConfigHome);
    else if (!places.home.empty())
        configFolder = withoutTrailingSlashes(places.home) + "/.config";
    else
        return {};
    return configFolder + "/" + ProgramFolderName + "/" + SettingsFileName;
}

SettingsPlaces CurrentSettingsPlaces() {
    SettingsPlaces places;
    places.programFolder = DiretorioAplicacao();
    places.programFolderWritable = IsWritableFolder(places.programFolder);
    places.xdgConfigHome = environment("XDG_CONFIG_HOME");
    places.home = environment("HOME");
    if (places.home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
            places.home = user->pw_dir;
    }
    return places;
}

bool IsWritableFolder(const std::string& folder) {
    return isFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

void CreateFolderOf(const std::string& filePath) {
    const std::size_t slash = filePath.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return;
    const std::string folder = filePath.substr(0, slash);
    if (isFolder(folder))
        return;
    CreateFolderOf(folder);
    if (::mkdir(folder.c_str(), 0700) == 0)
        return;
    const int error = errno;
    if (error == EEXIST && isFolder(folder))
        return; // made meanwhile by someone else
    throw EInOutError(FileErrorMessage("N\xE3o foi poss\xEDvel criar a pasta", folder, error));
}

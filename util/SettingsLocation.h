#pragma once
// Where the settings file lives. A program built or unpacked in a folder of
// the user's keeps Config.txt beside itself. One installed where the user may
// not write (under /usr) keeps it in the user's configuration folder instead:
// otherwise it could never save it, and every close would fail.
#include <string>

struct SettingsPlaces {
    std::string programFolder; // ends in "/"
    bool programFolderWritable = false;
    std::string xdgConfigHome; // $XDG_CONFIG_HOME; empty when unset
    std::string home;          // the user's home folder; empty when unknown
};

// programFolder + "Config.txt" when that folder is writable; otherwise
// "corvelo/Config.txt" in $XDG_CONFIG_HOME, or in home + "/.config" when that
// variable is empty or not an absolute path. Empty when there is no home.
std::string SettingsFilePath(const SettingsPlaces& places);

// The places of this process: the program's folder, whether this user may
// write into it, $XDG_CONFIG_HOME, and $HOME (else the user database's home).
SettingsPlaces CurrentSettingsPlaces();

// True for a folder this user may create files in.
bool IsWritableFolder(const std::string& folder);

// Creates the folder of a file path with its missing parents, readable by the
// user alone. Throws EInOutError when one cannot be created.
void CreateFolderOf(const std::string& filePath);

#pragma once
// Shared by the conversion tests: the process-wide settings and clock are put back
// after each test, and a conversion error is read as its message.
#include "util/Clock.h"
#include "util/Exceptions.h"
#include "util/FormatSettings.h"

#include <string>

class SettingsGuard {
public:
    SettingsGuard() : saved_(formatSettings()) {}
    ~SettingsGuard() {
        formatSettings() = saved_;
        SetNowSource({});
    }
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;

private:
    FormatSettings saved_;
};

template <typename F> std::string ConvertErrorOf(F&& convert) {
    try {
        convert();
    } catch (const EConvertError& error) {
        return error.Message();
    }
    return "(no error)";
}

#include "util/Clock.h"

#include "util/DateText.h"

#include <algorithm>
#include <chrono>
#include <ctime>

namespace {

double SystemNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    // A leap second (tm_sec 60) is not a valid time of day.
    return ComposeDateTime(
        EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
        EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(millis)));
}

std::function<double()>& NowSource() {
    static std::function<double()> source;
    return source;
}

} // namespace

double Now() {
    const auto& source = NowSource();
    return source ? source() : SystemNow();
}

int CurrentYear() {
    return DecodeDate(Now()).Year;
}

void SetNowSource(std::function<double()> source) {
    NowSource() = std::move(source);
}

#include "ui/AgeText.h"

#include "cookies/FileTime.h"
#include "res/resource.h"
#include "res/StringLoader.h"

namespace {

constexpr std::uint64_t Second = 10'000'000;
constexpr std::uint64_t Minute = 60 * Second;
constexpr std::uint64_t Hour = 60 * Minute;
constexpr std::uint64_t Day = 24 * Hour;
constexpr std::uint64_t Week = 7 * Day;

std::wstring AgeString(UINT id, std::uint64_t number) {
    return FormatString(LoadExpandedString(id).c_str(), static_cast<unsigned>(number));
}

} // namespace

std::wstring FormatAgeText(std::uint64_t time, std::uint64_t now) {
    if (time == 0) {
        return LoadExpandedString(IDS_AGE_UNKNOWN);
    }
    const auto signedAge = static_cast<std::int64_t>(now - time);
    if (signedAge < 0) {
        return LoadExpandedString(IDS_AGE_FUTURE);
    }
    // Each bound is one and a half of the next unit, so every unit after seconds starts at 2.
    const auto d = static_cast<std::uint64_t>(signedAge);
    if (d < 90 * Second) {
        return AgeString(IDS_AGE_SECONDS, (d / 10'000 + 500) / 1'000);
    }
    if (d < 90 * Minute) {
        return AgeString(IDS_AGE_MINUTES, (d / Second + 30) / 60);
    }
    if (d < 36 * Hour) {
        return AgeString(IDS_AGE_HOURS, (d / Minute + 30) / 60);
    }
    if (d < 252 * Hour) {
        return AgeString(IDS_AGE_DAYS, (d / Hour + 12) / 24);
    }
    if (d < 45 * Day) {
        return AgeString(IDS_AGE_WEEKS, (d / Hour + 84) / 168);
    }
    if (d < 546 * Day) {
        return AgeString(IDS_AGE_MONTHS, (d / Day + 15) / 30);
    }
    return AgeString(IDS_AGE_YEARS, (d / Week + 26) / 52);
}

std::wstring FormatAgeText(const FILETIME& time) {
    return FormatAgeText(ToUInt64(time), CurrentFileTime());
}

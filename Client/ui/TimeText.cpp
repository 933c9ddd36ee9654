#include "ui/TimeText.h"

#include "cookies/FileTime.h"
#include "res/StringLoader.h"
#include "store/ErrorText.h"

#include <vector>

namespace {

// The user's short date of `local`.
std::wstring DateText(const SYSTEMTIME& local) {
    const int size = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr,
                                       nullptr, 0, nullptr);
    if (size == 0) {
        ThrowLastError();
    }
    std::vector<wchar_t> text(static_cast<std::size_t>(size));
    if (::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, text.data(),
                          size, nullptr) == 0) {
        ThrowLastError();
    }
    return text.data();
}

// The user's time of day of `local`, without seconds.
std::wstring ClockText(const SYSTEMTIME& local) {
    const int size =
        ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, nullptr, 0);
    if (size == 0) {
        ThrowLastError();
    }
    std::vector<wchar_t> text(static_cast<std::size_t>(size));
    if (::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, text.data(),
                          size) == 0) {
        ThrowLastError();
    }
    return text.data();
}

} // namespace

std::wstring IsoUtcText(const FILETIME& time) {
    SYSTEMTIME utc{};
    if (ToUInt64(time) == 0 || !::FileTimeToSystemTime(&time, &utc)) {
        return std::wstring();
    }
    return FormatString(L"%04u-%02u-%02uT%02u:%02u:%02uZ", utc.wYear, utc.wMonth, utc.wDay,
                        utc.wHour, utc.wMinute, utc.wSecond);
}

std::wstring LocalTimeText(const FILETIME& time) {
    SYSTEMTIME utc{};
    if (ToUInt64(time) == 0 || !::FileTimeToSystemTime(&time, &utc)) {
        return std::wstring();
    }
    // Not FileTimeToLocalFileTime: it applies today's daylight saving offset to every date.
    SYSTEMTIME local{};
    if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        ThrowLastError();
    }
    return DateText(local) + L" " + ClockText(local);
}

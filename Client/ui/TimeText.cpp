#include "ui/TimeText.h"

#include "cookies/FileTime.h"
#include "res/StringLoader.h"

std::wstring IsoUtcText(const FILETIME& time) {
    SYSTEMTIME utc{};
    if (ToUInt64(time) == 0 || !::FileTimeToSystemTime(&time, &utc)) {
        return std::wstring();
    }
    return FormatString(L"%04u-%02u-%02uT%02u:%02u:%02uZ", utc.wYear, utc.wMonth, utc.wDay,
                        utc.wHour, utc.wMinute, utc.wSecond);
}

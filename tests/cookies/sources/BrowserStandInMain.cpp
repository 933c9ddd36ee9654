// Stands in for a running browser, or deletes from a store as the program does, so that a
// test can hold a file from another process or kill a delete half-way.
//   hold <file> <event>: opens the file with share mode 0, sets the event, waits to be ended.
//   delete <database> <host> <event>: reads the store that is `database` with the program's own
//     source, sets the event, and deletes every cookie of `host` in one batch.
#include "cookies/CookieKind.h"
#include "cookies/sources/CChromiumCookieSource.h"
#include "cookies/sources/CFirefoxCookieSource.h"

#include "cookies/CookieRecorder.h"

#include <windows.h>

#include <string>

namespace {

void Signal(const wchar_t* name) {
    const HANDLE event = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    if (event != nullptr) {
        ::SetEvent(event);
        ::CloseHandle(event);
    }
}

int Hold(const wchar_t* file, const wchar_t* event) {
    const HANDLE held = ::CreateFileW(file, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        return 2;
    }
    Signal(event);
    ::Sleep(INFINITE);
    return 0;
}

int Delete(const std::wstring& database, const std::wstring& host, const wchar_t* event) {
    const bool firefox =
        database.size() > 14 && database.compare(database.size() - 14, 14, L"cookies.sqlite") == 0;
    const CookieKind kinds[] = {CookieKind::Chrome, CookieKind::Edge, CookieKind::Brave,
                                CookieKind::Opera, CookieKind::Vivaldi};
    for (CookieKind kind : kinds) {
        const CRefPtr<CCookieSource> source =
            firefox ? CFirefoxCookieSource::Create() : CChromiumCookieSource::Create(kind);
        source->Prepare();
        CCookieRecorder found;
        source->Enumerate(found);
        CCookieList batch;
        for (const CRefPtr<CCookie>& cookie : found.cookies) {
            if (cookie->GetFile() == database && cookie->GetHost() == host) {
                batch.push_back(cookie);
            }
        }
        if (!batch.empty()) {
            Signal(event);
            return source->DeleteCookies(batch) ? 0 : 1;
        }
        if (firefox) {
            break;
        }
    }
    return 3;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"hold" && argc == 4) {
        return Hold(argv[2], argv[3]);
    }
    if (mode == L"delete" && argc == 5) {
        return Delete(argv[2], argv[3], argv[4]);
    }
    return 4;
}

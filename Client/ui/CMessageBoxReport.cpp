#include "ui/CMessageBoxReport.h"

#include "res/StringLoader.h"
#include "res/resource.h"
#include "ui/NoticeText.h"
#include "ui/ShowMessage.h"

#include <functional>

namespace {

constexpr wchar_t LoadingFailed[] = L"Unhandled exception while loading cookies:  %s";

// Reports never throw: they run where nothing else would catch.
void Show(const std::function<std::wstring()>& text, UINT type) noexcept {
    try {
        ShowMessage(text(), type);
    } catch (...) {
        // Out of memory while reporting: nothing is left to report with.
    }
}

} // namespace

void CMessageBoxReport::LoadFailed(const std::wstring& reason) noexcept {
    Show([&reason] { return FormatString(LoadingFailed, reason.c_str()); }, MB_ICONERROR | MB_OK);
}

void CMessageBoxReport::AuthorizeFailed(const std::wstring& reason) noexcept {
    Show([&reason] { return FailureText(IDS_FAILED_AUTHORIZING, reason); }, MB_ICONWARNING | MB_OK);
}

void CMessageBoxReport::UnauthorizeFailed(const std::wstring& reason) noexcept {
    Show([&reason] { return FailureText(IDS_FAILED_DELETING_AUTHORIZED, reason); },
         MB_ICONWARNING | MB_OK);
}

void CMessageBoxReport::DeleteFailed(const CStoreNotice& why) noexcept {
    Show(
        [&why] {
            const std::wstring reason = RefusalText(why);
            return reason.empty() ? LoadExpandedString(IDS_FAILED_DELETING_COOKIE)
                                  : FailureText(IDS_FAILED_DELETING_COOKIE, reason);
        },
        MB_ICONWARNING | MB_OK);
}

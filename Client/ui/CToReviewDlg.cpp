#include "ui/CToReviewDlg.h"

#include "cookies/FileTime.h"
#include "res/resource.h"
#include "ui/AgeText.h"
#include "res/StringLoader.h"
#include "ui/WaitCursor.h"

namespace {

constexpr std::uint64_t ticksPerMinute = 600000000;

struct CSpan {
    UINT text;
    unsigned number; // for the texts with "%u"
    std::uint32_t minutes;
};

// In display order after "(All)".
constexpr CSpan spans[] = {
    {IDS_FILTER_MINUTES, 15, 15}, {IDS_FILTER_HOUR, 0, 60},     {IDS_FILTER_HOURS, 4, 240},
    {IDS_FILTER_HOURS, 8, 480},   {IDS_FILTER_DAY, 0, 1440},    {IDS_FILTER_DAYS, 3, 4320},
    {IDS_FILTER_WEEK, 0, 10080},  {IDS_FILTER_MONTH, 0, 43200}, {IDS_FILTER_YEAR, 0, 525600},
};

enum class FilterAction { Nothing, Narrow, Rebuild };

FilterAction ActionFor(std::uint32_t before, std::uint32_t after) {
    if (before == 0) {
        return FilterAction::Narrow;
    }
    if (after == 0 || after > before) {
        return FilterAction::Rebuild;
    }
    return after < before ? FilterAction::Narrow : FilterAction::Nothing;
}

} // namespace

CToReviewDlg::CToReviewDlg(CDomainService& service) noexcept
    : CCookieBaseDlg(IDD_NOT_AUTHORIZED, service) {}

bool CToReviewDlg::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
    if (message == WM_INITDIALOG) {
        // The base drains the queue first, while the filter is still "(All)".
        CCookieBaseDlg::ProcessWindowMessage(window, message, wParam, lParam, result);
        m_filterCombo = ::GetDlgItem(window, IDC_FILTER);
        FillFilter();
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_AUTHORIZE) {
        AuthorizeChecked();
        result = 0;
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_FILTER && HIWORD(wParam) == CBN_SELCHANGE) {
        ChangeFilter();
        result = 0;
        return true;
    }
    return CCookieBaseDlg::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CToReviewDlg::AddDomain(const CRefPtr<CCookieDomain>& domain) {
    if (PassesFilter(*domain)) {
        CCookieBaseDlg::AddDomain(domain);
    }
}

void CToReviewDlg::ChangedWithoutRow(const CRefPtr<CCookieDomain>& domain) {
    AddDomain(domain);
}

UINT CToReviewDlg::GetCountStringId() const {
    return CountStringId(GetCookieTotal(), IDS_UNAUTHORIZED_COOKIE, IDS_UNAUTHORIZED_COOKIES);
}

bool CToReviewDlg::PassesFilter(CCookieDomain& domain) const {
    if (domain.IsAuthorized()) {
        return false;
    }
    if (m_filterMinutes == 0) {
        return true;
    }
    // Unsigned and wrapping: a time in the future, or none (0), is far outside every span.
    const std::uint64_t elapsed = CurrentFileTime() - ToUInt64(domain.GetLastUsed());
    return elapsed / ticksPerMinute <= m_filterMinutes;
}

void CToReviewDlg::FillFilter() {
    const auto add = [this](const std::wstring& text, std::uint32_t minutes) {
        const LRESULT index =
            ::SendMessageW(m_filterCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::SendMessageW(m_filterCombo, CB_SETITEMDATA, static_cast<WPARAM>(index), minutes);
    };
    add(LoadExpandedString(IDS_FILTER_ALL), 0);
    ::SendMessageW(m_filterCombo, CB_SETCURSEL, 0, 0);
    for (const CSpan& span : spans) {
        add(FormatString(LoadExpandedString(span.text).c_str(), span.number), span.minutes);
    }
}

void CToReviewDlg::ChangeFilter() {
    const CWaitCursor wait;
    const std::uint32_t before = m_filterMinutes;
    const LRESULT selected = ::SendMessageW(m_filterCombo, CB_GETCURSEL, 0, 0);
    m_filterMinutes = static_cast<std::uint32_t>(
        ::SendMessageW(m_filterCombo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));

    switch (ActionFor(before, m_filterMinutes)) {
    case FilterAction::Narrow:
        for (int index = GetRowCount() - 1; index >= 0; --index) {
            const CRefPtr<CCookieDomain> domain = GetRowDomain(index);
            if (domain && !PassesFilter(*domain)) {
                RemoveRow(index);
            }
        }
        break;
    case FilterAction::Rebuild: {
        RemoveAllRows();
        CDomainList domains;
        GetService().GetDomains(domains);
        for (const CRefPtr<CCookieDomain>& domain : domains) {
            AddDomain(domain);
        }
        break;
    }
    case FilterAction::Nothing:
        break;
    }
}

void CToReviewDlg::AuthorizeChecked() {
    ActOnChecked(IDS_CHECK_TO_AUTHORIZE, [this](const CRefPtr<CCookieDomain>& domain) {
        return GetService().AuthorizeDomain(domain);
    });
}

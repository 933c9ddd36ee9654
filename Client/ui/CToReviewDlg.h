#pragma once

#include "ui/CCookieBaseDlg.h"

#include <cstdint>

// The "Not Authorized" page: the domains the user has not authorized, limited by the
// "Used within the last" filter, with Authorize beside the base's Delete.
class CToReviewDlg final : public CCookieBaseDlg {
public:
    explicit CToReviewDlg(CDomainService& service) noexcept;

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;
    // Only a domain that passes the filter gets a row.
    void AddDomain(const CRefPtr<CCookieDomain>& domain) override;
    // A site first seen as old may prove recent once a later store is read.
    void ChangedWithoutRow(const CRefPtr<CCookieDomain>& domain) override;
    UINT GetCountStringId() const override;

private:
    bool PassesFilter(CCookieDomain& domain) const;
    void FillFilter();
    void ChangeFilter();
    void AuthorizeChecked();

    HWND m_filterCombo = nullptr;
    // 0 is "(All)".
    std::uint32_t m_filterMinutes = 0;
};

#include "ui/CAllowedDlg.h"

#include "res/resource.h"
#include "ui/AgeText.h"

CAllowedDlg::CAllowedDlg(CDomainService& service) noexcept
    : CCookieBaseDlg(IDD_AUTHORIZED, service) {}

UINT CAllowedDlg::GetCountStringId() const {
    return CountStringId(GetCookieTotal(), IDS_AUTHORIZED_COOKIE, IDS_AUTHORIZED_COOKIES);
}

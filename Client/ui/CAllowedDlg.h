#pragma once

#include "ui/CCookieBaseDlg.h"

// The "Authorized" page: every domain the user has authorized; its only action is Delete.
class CAllowedDlg final : public CCookieBaseDlg {
public:
    explicit CAllowedDlg(CDomainService& service) noexcept;

protected:
    UINT GetCountStringId() const override;
};

#pragma once

#include "cookies/CFailureReport.h"

// Tells each failure in a message box (on the console, as lines) with the program's texts.
class CMessageBoxReport final : public CFailureReport {
public:
    void LoadFailed(const std::wstring& reason) noexcept override;
    void AuthorizeFailed(const std::wstring& reason) noexcept override;
    void UnauthorizeFailed(const std::wstring& reason) noexcept override;
    void DeleteFailed(const CStoreNotice& why) noexcept override;
};

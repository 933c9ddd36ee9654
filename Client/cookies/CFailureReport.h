#pragma once

#include "cookies/CStoreNotice.h"

#include <string>

// Tells the user of what failed while the manager did what it was asked: the window and the
// console show it in their own way. Never raises; called where nothing else would catch.
class CFailureReport {
public:
    // The load ended early; the rest of the program goes on.
    virtual void LoadFailed(const std::wstring& reason) noexcept = 0;
    virtual void AuthorizeFailed(const std::wstring& reason) noexcept = 0;
    // A site's authorization could not be removed, so its cookies stayed.
    virtual void UnauthorizeFailed(const std::wstring& reason) noexcept = 0;
    // Cookies stayed, or their deletes did not last, for the reason a source gave.
    virtual void DeleteFailed(const CStoreNotice& why) noexcept = 0;

protected:
    ~CFailureReport() = default;
};

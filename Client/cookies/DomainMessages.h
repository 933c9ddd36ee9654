#pragma once

#include <windows.h>

// Posted by the cookie manager to its registered windows. WPARAM is the CCookieDomain*,
// carrying one reference that the receiver releases; LPARAM is 0.
constexpr UINT WM_DOMAIN_ADDED = WM_APP + 1;
constexpr UINT WM_DOMAIN_CHANGED = WM_APP + 2;
constexpr UINT WM_DOMAIN_AUTHORIZED = WM_APP + 3;

// Posted by the loading thread when a load has ended, however it ended. WPARAM and LPARAM are 0.
constexpr UINT WM_LOADING_DONE = WM_APP + 4;

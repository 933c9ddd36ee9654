#include "ui/WindowPlacement.h"

#include "store/Exceptions.h"
#include "store/PlacementStore.h"

namespace {

// WINDOWPLACEMENT's normal rectangle is in workspace coordinates: relative to the primary
// monitor's work area, which a taskbar at the top or left moves away from the screen origin.
POINT WorkspaceOrigin() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return {monitor.rcWork.left - monitor.rcMonitor.left,
            monitor.rcWork.top - monitor.rcMonitor.top};
}

bool FitsOnAMonitor(const RECT& rect) {
    HMONITOR monitor = ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !::GetMonitorInfoW(monitor, &info)) {
        return false;
    }
    const RECT& work = info.rcWork;
    return rect.left >= work.left && rect.top >= work.top && rect.right <= work.right &&
           rect.bottom <= work.bottom;
}

} // namespace

bool RestoreWindowPlacement(HWND window, SIZE minimum) {
    std::optional<CSavedPlacement> saved;
    try {
        saved = LoadPlacement();
    } catch (const CException&) {
        return false;
    }
    if (!saved || !FitsOnAMonitor(saved->normal) ||
        saved->normal.right - saved->normal.left < minimum.cx ||
        saved->normal.bottom - saved->normal.top < minimum.cy) {
        return false;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    const POINT origin = WorkspaceOrigin();
    placement.rcNormalPosition = saved->normal;
    ::OffsetRect(&placement.rcNormalPosition, -origin.x, -origin.y);
    // Not shown yet: the sheet shows it itself.
    placement.showCmd = ::IsWindowVisible(window) ? SW_SHOWNORMAL : SW_HIDE;
    placement.flags = 0;
    ::SetWindowPlacement(window, &placement);
    return saved->maximized;
}

void SaveWindowPlacement(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(window, &placement)) {
        return;
    }
    CSavedPlacement saved;
    const POINT origin = WorkspaceOrigin();
    saved.normal = placement.rcNormalPosition;
    ::OffsetRect(&saved.normal, origin.x, origin.y);
    saved.maximized =
        placement.showCmd == SW_SHOWMAXIMIZED ||
        (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
    try {
        SavePlacement(saved);
    } catch (const CException&) {
        // Closing goes on; only the next start's position is lost.
    }
}

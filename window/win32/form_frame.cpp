#include "form_frame.h"

#include <algorithm>
#include <iterator>

#include "dpi.h"
#include "layout.h"

SIZE ClassicWindowSize(int dpi) {
    return WindowSizeForClient(TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi),
                               kFormStyle, kFormExStyle, dpi);
}

namespace {

RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// start moved as little as it must for length to fit between from and to.
LONG Within(LONG start, LONG length, LONG from, LONG to) { return std::max(from, std::min(start, to - length)); }

}  // namespace

SIZE SmallestWindowSize(HWND window, int dpi) {
    const SIZE classic = ClassicWindowSize(dpi);
    const RECT area = WorkAreaOf(window);
    return {std::min(classic.cx, area.right - area.left), std::min(classic.cy, area.bottom - area.top)};
}

void KeepAtLeastSmallestSize(HWND window, MINMAXINFO& limits, int dpi) {
    const SIZE smallest = SmallestWindowSize(window, dpi);
    limits.ptMinTrackSize = {smallest.cx, smallest.cy};
}

void PlaceAtStart(HWND window, int dpi) {
    const SIZE size = SmallestWindowSize(window, dpi);
    const RECT area = WorkAreaOf(window);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    RECT made;
    GetWindowRect(window, &made);
    POINT at{area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
    if (startup.dwFlags & STARTF_USEPOSITION) at = {made.left, made.top};
    SetWindowPos(window, nullptr, Within(at.x, size.cx, area.left, area.right), Within(at.y, size.cy, area.top, area.bottom),
                 size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// All four move at once, and each is painted anew: a list's entries are cut
// to its width, so what it showed before does not fit the new width.
void PlaceControls(HWND window, int dpi) {
    RECT client;
    GetClientRect(window, &client);
    HDWP moves = BeginDeferWindowPos(static_cast<int>(std::size(kControlPlaces)));
    for (const ControlPlace& place : kControlPlaces) {
        const PixelRect at = PlaceInClient(place, client.right, client.bottom, dpi);
        if (moves)
            moves = DeferWindowPos(moves, GetDlgItem(window, place.id), nullptr, at.left, at.top, at.width, at.height,
                                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (moves) EndDeferWindowPos(moves);
}

// The client area is taken as what the outer size holds at dpi `from`.
// That is the client area on Windows, and under Wine, which draws the frame
// at the screen's DPI whatever the window's, it keeps moves back and forth
// from adding up.
SIZE WindowSizeAtNewDpi(SIZE outer, int from, int to) {
    const SIZE frame = WindowSizeForClient(0, 0, kFormStyle, kFormExStyle, from);
    const int width = MulDiv(outer.cx - frame.cx, to, from);
    const int height = MulDiv(outer.cy - frame.cy, to, from);
    return WindowSizeForClient(std::max(width, TwipsToPixels(kClientWidthTwips, to)),
                               std::max(height, TwipsToPixels(kClientHeightTwips, to)), kFormStyle, kFormExStyle, to);
}

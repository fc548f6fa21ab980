#include "form_frame.h"

#include <algorithm>
#include <iterator>

#include "dpi.h"
#include "layout.h"

SIZE ClassicWindowSize(int dpi) {
    return WindowSizeForClient(TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi),
                               kFormStyle, kFormExStyle, dpi);
}

void KeepAtLeastClassicSize(MINMAXINFO& limits, int dpi) {
    const SIZE classic = ClassicWindowSize(dpi);
    limits.ptMinTrackSize = {classic.cx, classic.cy};
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

// The client area is taken as what the window's outer size holds at dpi
// `from`. That is the client area on Windows, and under Wine, which draws
// the frame at the screen's DPI whatever the window's, it keeps moves back
// and forth from adding up.
SIZE WindowSizeAtNewDpi(HWND window, int from, int to) {
    RECT outer;
    GetWindowRect(window, &outer);
    const SIZE frame = WindowSizeForClient(0, 0, kFormStyle, kFormExStyle, from);
    const int width = MulDiv(outer.right - outer.left - frame.cx, to, from);
    const int height = MulDiv(outer.bottom - outer.top - frame.cy, to, from);
    return WindowSizeForClient(std::max(width, TwipsToPixels(kClientWidthTwips, to)),
                               std::max(height, TwipsToPixels(kClientHeightTwips, to)), kFormStyle, kFormExStyle, to);
}

#pragma once
#include <windows.h>

// Form1's frame: a window a teacher can make larger or maximise to read long
// names, that starts at the classic size and cannot be made smaller, with
// its controls placed by the layout table for whatever size it has.

// Caption, system menu, minimise and maximise boxes, a sizing border.
inline constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
inline constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

// The window's outer size around the classic client area at dpi.
SIZE ClassicWindowSize(int dpi);

// The classic size, or the work area of window's monitor where that is
// smaller (a large scaling, a tall taskbar): the size at start, and the
// smallest the window can be made. The lists give up the height; the
// buttons stay on the screen.
SIZE SmallestWindowSize(HWND window, int dpi);
void KeepAtLeastSmallestSize(HWND window, MINMAXINFO& limits, int dpi);

// At start: the smallest size, centred on the monitor Windows gave the
// window (the one the program was started from), or where the program was
// told to start, kept on that monitor's work area.
void PlaceAtStart(HWND window, int dpi);

// Places every control of the layout table in window's client area, laid
// out at dpi.
void PlaceControls(HWND window, int dpi);

// The outer size at dpi `to` for outer size `outer` at dpi `from`: a client
// area the same size in twips, and no smaller than the classic size.
SIZE WindowSizeAtNewDpi(SIZE outer, int from, int to);

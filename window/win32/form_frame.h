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

// Keeps the window from being made smaller than the classic size.
void KeepAtLeastClassicSize(MINMAXINFO& limits, int dpi);

// Places every control of the layout table in window's client area, laid
// out at dpi.
void PlaceControls(HWND window, int dpi);

// The outer size that keeps window's client area, laid out at dpi `from`,
// the same size in twips at dpi `to`, and no smaller than the classic size.
SIZE WindowSizeAtNewDpi(HWND window, int from, int to);

#pragma once

#include <algorithm>

// Form1's layout, in twips (1440 to the inch) within the client area, as the
// window was designed, and how each control follows the window when it is
// made larger. The Win32 host turns it into pixels at the window's DPI.

enum ControlId : int { kDir1 = 101, kCommand1, kFile1, kCommand2 };

// How a control follows a window larger than the classic size, in sixths of
// the extra width and height: how far its left edge and its top move, and
// how much wider and taller it grows.
struct Growth {
    int left, top, width, height;
};

struct ControlPlace {
    ControlId id;
    int left, top, width, height;
    Growth grows;
};

// The classic size: where the window starts, and the smallest it can be made.
inline constexpr int kClientWidthTwips = 8400;
inline constexpr int kClientHeightTwips = 7320;

// In tab order: the folder list, "打开文件夹", the file list, "打开文件".
// The lists take all the extra height and share the extra width, a third to
// the folder list and two thirds to the file list; each button stays at the
// bottom, centred under its list.
inline constexpr ControlPlace kControlPlaces[] = {
    {kDir1, 120, 120, 4095, 6300, {0, 0, 2, 6}},
    {kCommand1, 1320, 6600, 1695, 495, {1, 6, 0, 0}},
    {kFile1, 4320, 120, 3975, 6330, {2, 0, 4, 6}},
    {kCommand2, 5640, 6600, 1695, 495, {4, 6, 0, 0}},
};

// Both lists and both buttons use this font, at this size in points.
inline constexpr const wchar_t* kFontFace = L"宋体";
inline constexpr int kFontPoints = 12;

inline constexpr unsigned kFormBackground = 0x00E0E0E0;     // 0x00BBGGRR
inline constexpr unsigned kControlBackground = 0x00FFC0C0;  // red 192, green 192, blue 255

inline int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

struct PixelRect {
    int left, top, width, height;
};

// Where place goes in a client area of clientWidth x clientHeight pixels at
// dpi. Edges move rather than sizes, so that neighbours keep the gaps between
// them and the margins stay as designed whatever the rounding. A client area
// smaller than the classic size (a screen too small for it) shrinks the
// lists the same way.
inline PixelRect PlaceInClient(const ControlPlace& place, int clientWidth, int clientHeight, int dpi) {
    const int extraWidth = clientWidth - TwipsToPixels(kClientWidthTwips, dpi);
    const int extraHeight = clientHeight - TwipsToPixels(kClientHeightTwips, dpi);
    const auto share = [](int extra, int sixths) { return extra * sixths / 6; };
    const Growth& grows = place.grows;
    const int left = TwipsToPixels(place.left, dpi) + share(extraWidth, grows.left);
    const int top = TwipsToPixels(place.top, dpi) + share(extraHeight, grows.top);
    const int right = TwipsToPixels(place.left, dpi) + TwipsToPixels(place.width, dpi) +
                      share(extraWidth, grows.left + grows.width);
    const int bottom = TwipsToPixels(place.top, dpi) + TwipsToPixels(place.height, dpi) +
                       share(extraHeight, grows.top + grows.height);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

#pragma once

// Form1's layout, in twips (1440 to the inch) within the client area, as the
// window was designed. The Win32 host turns it into pixels at the window's DPI.

enum ControlId : int { kDir1 = 101, kCommand1, kFile1, kCommand2 };

struct ControlPlace {
    ControlId id;
    int left, top, width, height;
};

inline constexpr int kClientWidthTwips = 8400;
inline constexpr int kClientHeightTwips = 7320;

// In tab order: the folder list, "打开文件夹", the file list, "打开文件".
inline constexpr ControlPlace kControlPlaces[] = {
    {kDir1, 120, 120, 4095, 6300},
    {kCommand1, 1320, 6600, 1695, 495},
    {kFile1, 4320, 120, 3975, 6330},
    {kCommand2, 5640, 6600, 1695, 495},
};

// Both lists and both buttons use this font, at this size in points.
inline constexpr const wchar_t* kFontFace = L"宋体";
inline constexpr int kFontPoints = 12;

inline constexpr unsigned kFormBackground = 0x00E0E0E0;     // 0x00BBGGRR
inline constexpr unsigned kControlBackground = 0x00FFC0C0;  // red 192, green 192, blue 255

inline int TwipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

// Form1 as the user sees it, at the screen DPI of the run (VERONDEL_DPI):
// the window's frame and size, where each control sits as the window grows,
// the colours and text on the screen, where the keyboard focus starts and
// where Tab takes it, the tip that shows a long name whole. Measured from
// outside the real exe, in physical pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "test_drive.h"
#include "window_probe.h"

namespace {

template <class Function>
Function FromUser32(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// The form as designed is measured in twips, 1440 to the inch.
int Pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

template <class Read>
std::wstring Text(HWND window, Read read) {
    wchar_t text[256] = {};
    read(window, text, 256);
    return text;
}
std::wstring TextOf(HWND window) { return Text(window, GetWindowTextW); }
std::wstring ClassOf(HWND window) { return Text(window, GetClassNameW); }

// The folder this test program is in.
std::wstring OwnFolder() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring path = exe;
    return path.substr(0, path.find_last_of(L'\\'));
}

// Runs send, which sends window_probe.dll its message, with the probe hooked
// into the thread of the program's control: a window hook on that thread
// loads the DLL into the program.
template <class Send>
void WithProbe(HWND control, Send send) {
    HMODULE probe = LoadLibraryW((OwnFolder() + L"\\window_probe.dll").c_str());
    const auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, kProbeHook)));
    HHOOK hooked = hook ? SetWindowsHookExW(WH_CALLWNDPROC, hook, probe, GetWindowThreadProcessId(control, nullptr))
                        : nullptr;
    EXPECT_NE(hooked, nullptr) << "window_probe.dll could not be hooked in";
    if (hooked) send();  // SendMessageW returns once the probe has run
    if (hooked) UnhookWindowsHookEx(hooked);
    if (probe) FreeLibrary(probe);
}

// The font a control of the program draws with. A font handle means nothing
// in another process, so the probe answers through shared memory.
LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    HANDLE memory = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof font, kProbeMemory);
    WithProbe(control, [&] {
        SendMessageW(control, RegisterWindowMessageW(kProbeMessage), 0, 0);
        if (const void* written = memory ? MapViewOfFile(memory, FILE_MAP_READ, 0, 0, sizeof font) : nullptr) {
            font = *static_cast<const LOGFONTW*>(written);
            UnmapViewOfFile(written);
        }
    });
    if (memory) CloseHandle(memory);
    return font;
}

// Sets a system colour as the program sees it, as a change of Windows'
// colour settings does while it runs.
void SetSysColorIn(HWND window, int element, COLORREF colour) {
    WithProbe(window, [&] { SendMessageW(window, RegisterWindowMessageW(kProbeSysColor), element, colour); });
}

HWND Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// The whole screen as it was when this was made, 24 bits a pixel.
class Screenshot {
public:
    Screenshot() {
        header_.biSize = sizeof header_;
        header_.biWidth = GetSystemMetrics(SM_CXSCREEN);
        header_.biHeight = GetSystemMetrics(SM_CYSCREEN);  // rows bottom up
        header_.biPlanes = 1;
        header_.biBitCount = 24;
        HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header_), DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, header_.biWidth, header_.biHeight, screen, 0, 0, SRCCOPY);
        GdiFlush();
        bits_.assign(static_cast<BYTE*>(bits), static_cast<BYTE*>(bits) + Stride() * header_.biHeight);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    // The colour at (x, y) of window's client area.
    COLORREF At(HWND window, int x, int y) const {
        POINT point{x, y};
        ClientToScreen(window, &point);
        const BYTE* pixel = &bits_.at((header_.biHeight - 1 - point.y) * Stride() + point.x * 3);
        return RGB(pixel[2], pixel[1], pixel[0]);
    }

    bool operator==(const Screenshot& other) const { return bits_ == other.bits_; }

    bool SaveAsBmp(const std::wstring& path) const {
        const DWORD headers = sizeof(BITMAPFILEHEADER) + sizeof header_;
        BITMAPFILEHEADER file{0x4D42, headers + static_cast<DWORD>(bits_.size()), 0, 0, headers};
        HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written[3] = {};
        WriteFile(out, &file, sizeof file, &written[0], nullptr);
        WriteFile(out, &header_, sizeof header_, &written[1], nullptr);
        WriteFile(out, bits_.data(), static_cast<DWORD>(bits_.size()), &written[2], nullptr);
        CloseHandle(out);
        return written[0] + written[1] + written[2] == file.bfSize;
    }

private:
    int Stride() const { return (header_.biWidth * 3 + 3) & ~3; }
    BITMAPINFOHEADER header_{};
    std::vector<BYTE> bits_;
};

std::string Rgb(COLORREF colour) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

// How wide the dark ink of a control's text is, inside its border.
int InkWidth(const Screenshot& screen, HWND control) {
    RECT client;
    GetClientRect(control, &client);
    int left = client.right, right = 0;
    for (int y = 4; y < client.bottom - 4; ++y) {
        for (int x = 4; x < client.right - 4; ++x) {
            const COLORREF c = screen.At(control, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) left = std::min(left, x), right = std::max(right, x + 1);
        }
    }
    return std::max(0, right - left);
}

// The controls in tab order, where the form puts them at the classic size,
// and how they follow a larger window: of its extra width and height (in
// sixths), how far the left edge and the top move, how much wider and
// taller the control grows. The lists take the height, a third of the width
// to the folder list and two thirds to the file list; the buttons stay at
// the bottom, centred under their lists.
const struct {
    int id;
    const wchar_t* className;
    const wchar_t* caption;  // of a button
    int left, top, width, height;  // twips
    int moveRight, moveDown, growWider, growTaller;  // sixths of the extra
} kControls[] = {
    {101, L"ListBox", nullptr, 120, 120, 4095, 6300, 0, 0, 2, 6},
    {102, L"Button", L"打开文件夹", 1320, 6600, 1695, 495, 1, 6, 0, 0},
    {103, L"ListBox", nullptr, 4320, 120, 3975, 6330, 2, 0, 4, 6},
    {104, L"Button", L"打开文件", 5640, 6600, 1695, 495, 4, 6, 0, 0},
};

// The outer size of the window for a client area of width x height at dpi.
SIZE OuterSize(HWND window, int width, int height, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = FromUser32<AdjustForDpi>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, width, height};
    if (adjustForDpi)
        adjustForDpi(&frame, GetWindowLongW(window, GWL_STYLE), FALSE, GetWindowLongW(window, GWL_EXSTYLE), dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

SIZE SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

struct Form : ::testing::Test {
    // Measure in physical pixels, as the program (per-monitor aware) lays itself out.
    static void SetUpTestSuite() {
        if (auto set = FromUser32<BOOL(WINAPI*)(HANDLE)>("SetProcessDpiAwarenessContext"))
            set(reinterpret_cast<HANDLE>(-4));  // per monitor, v2
        else
            SetProcessDPIAware();
    }
    void SetUp() override {
        ClearDrive();
        for (const wchar_t* folder : {L"E:\\课程\\第一周", L"E:\\课程\\第二周", L"E:\\课程\\Extra"}) MakeFolder(folder);
        for (const wchar_t* file : {L"E:\\课程\\课件.ppt", L"E:\\课程\\notes.txt"}) WriteBytes(file, "x");
        WriteBytes(L"E:\\Verondel设置.ini", Gbk(L"课程\r\n"));
        program = std::make_unique<Verondel>();
        window = program->Window();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(program->NoBox());
        HDC screen = GetDC(nullptr);
        dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
    }
    // The screen once the window has been painted on it: both buttons show
    // their captions, and two screenshots in a row agree.
    Screenshot PaintedScreen() {
        Screenshot last;
        WaitUntil([&] {
            Screenshot now;
            const bool painted = now == last && InkWidth(now, program->Command1()) > 0 &&
                                 InkWidth(now, program->Command2()) > 0;
            last = now;
            return painted;
        });
        return last;
    }
    // Each control in its place at the DPI at for the window's client size,
    // with its caption, in 12-point 宋体 for the Chinese character set.
    void ExpectControlsAt(int at) {
        RECT client;
        GetClientRect(window, &client);
        const double wider = client.right - Pixels(8400, at), taller = client.bottom - Pixels(7320, at);
        for (const auto& c : kControls) {
            SCOPED_TRACE(c.id);
            HWND control = GetDlgItem(window, c.id);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), c.className), 0) << ClassOf(control);
            RECT rect;
            GetWindowRect(control, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            EXPECT_NEAR(rect.left, Pixels(c.left, at) + wider * c.moveRight / 6, 1);
            EXPECT_NEAR(rect.top, Pixels(c.top, at) + taller * c.moveDown / 6, 1);
            EXPECT_NEAR(rect.right - rect.left, Pixels(c.width, at) + wider * c.growWider / 6, 1);
            EXPECT_NEAR(rect.bottom - rect.top, Pixels(c.height, at) + taller * c.growTaller / 6, 1);
            if (c.caption) {
                EXPECT_EQ(TextOf(control), c.caption);
            } else {  // a row holds a line of 12-point text at this DPI
                EXPECT_GE(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0), MulDiv(12, at, 72));
            }
            const LOGFONTW font = FontOf(control);
            EXPECT_EQ(font.lfHeight, -MulDiv(12, at, 72)) << "12 points at " << at << " dpi";
            EXPECT_EQ(std::wstring(font.lfFaceName), L"宋体");
            EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
        }
    }
    // Makes the window larger by width x height twips, as a drag of its
    // border does, as far as the screen's work area allows, and returns the
    // outer size it was given.
    SIZE MakeLarger(int width, int height) {
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        const SIZE classic = OuterSize(window, Pixels(8400, dpi), Pixels(7320, dpi), dpi);
        const SIZE asked = OuterSize(window, Pixels(8400 + width, dpi), Pixels(7320 + height, dpi), dpi);
        const SIZE given{std::max(classic.cx, std::min(asked.cx, work.right - work.left)),
                         std::max(classic.cy, std::min(asked.cy, work.bottom - work.top))};
        SetWindowPos(window, nullptr, 0, 0, given.cx, given.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return given;
    }

    std::unique_ptr<Verondel> program;
    HWND window = nullptr;
    int dpi = 0;
};

TEST_F(Form, ClassicSizeWindowAtTheScreenDpi) {
    if (const char* wanted = std::getenv("VERONDEL_DPI")) {
        EXPECT_EQ(dpi, std::atoi(wanted)) << "the run's DPI";
    }
    if (auto dpiOf = FromUser32<UINT(WINAPI*)(HWND)>("GetDpiForWindow")) {
        EXPECT_EQ(static_cast<int>(dpiOf(window)), dpi) << "the window is DPI aware";
    }
    EXPECT_EQ(TextOf(window), L"时光不待人-Quorlen");
    // The classic size, or the work area where that is smaller (at 144 dpi
    // the test's 1024 x 768 desktop is 2 pixels too low): the buttons stay
    // on the screen, centred on it.
    RECT work, frame, button;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const SIZE classic = OuterSize(window, Pixels(8400, dpi), Pixels(7320, dpi), dpi);
    const SIZE smallest{std::min(classic.cx, SizeOf(work).cx), std::min(classic.cy, SizeOf(work).cy)};
    GetWindowRect(window, &frame);
    EXPECT_EQ(SizeOf(frame).cx, smallest.cx);
    EXPECT_EQ(SizeOf(frame).cy, smallest.cy);
    EXPECT_NEAR(frame.left - work.left, work.right - frame.right, 1) << "centred";
    EXPECT_NEAR(frame.top - work.top, work.bottom - frame.bottom, 1);
    GetWindowRect(program->Command2(), &button);
    EXPECT_LE(button.bottom, work.bottom) << "the buttons on the screen";

    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const struct {
        LONG flag;
        const char* name;
        bool wanted;
    } flags[] = {{WS_CAPTION, "caption", true},          {WS_SYSMENU, "system menu", true},
                 {WS_MINIMIZEBOX, "minimise box", true}, {WS_MAXIMIZEBOX, "maximise box", true},
                 {WS_THICKFRAME, "sizing border", true}};
    for (const auto& f : flags) EXPECT_EQ((style & f.flag) == f.flag, f.wanted) << f.name;

    // That is also the smallest it can be made.
    MINMAXINFO limits{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, smallest.cx);
    EXPECT_EQ(limits.ptMinTrackSize.y, smallest.cy);
}

// The window made larger: the lists take the room, the buttons stay at the
// bottom, centred under their lists (see kControls).
TEST_F(Form, ControlsFollowTheWindowAsItGrows) {
    const struct {
        const char* what;
        int width, height;  // twips more than the classic size
    } sizes[] = {{"wider", 1440, 0}, {"taller", 0, 720}, {"wider and taller", 1455, 735},
                 {"as large as the screen", 14400, 14400}, {"the classic size again", 0, 0}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(s.what);
        const SIZE given = MakeLarger(s.width, s.height);
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_EQ(SizeOf(frame).cx, given.cx);
        EXPECT_EQ(SizeOf(frame).cy, given.cy);
        ExpectControlsAt(dpi);
    }
}

TEST_F(Form, ControlsInTabOrderWhereTheFormPutsThem) {
    ExpectControlsAt(dpi);
    std::vector<int> ids, tabOrder;  // dialog navigation follows the z-order of the tab stops
    for (const auto& c : kControls) ids.push_back(c.id);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) tabOrder.push_back(GetDlgCtrlID(child));
    EXPECT_EQ(tabOrder, ids);
}

TEST_F(Form, FollowsTheDpiOfItsMonitor) {
    // Moved to a monitor of the other DPI, then back: asked first (Windows
    // 10 1703 and later), it wants the client size of the size it is being
    // given in twips; then it takes the rectangle Windows suggests as it is,
    // also when not asked (before 1703: scaled by Windows), or maximised.
    // (Made larger, it grows only wider: at 144 dpi the classic size is
    // already as tall as the test's screen allows.)
    const struct {
        const char* what;
        int width, height;  // twips more than the classic size
        bool maximised;
        bool asked = true;     // WM_GETDPISCALEDSIZE first, with the size it has
        int resizedWider = 0;  // and then with a size this many twips wider
    } states[] = {{"at the classic size", 0, 0, false},
                  {"made larger", 1440, 0, false},
                  {"resized by an edge as it moves", 0, 0, false, true, 720},
                  {"before Windows 10 1703: scaled by Windows", 0, 0, false, false},
                  {"maximised", 0, 0, true}};
    for (const auto& state : states) {
        SCOPED_TRACE(state.what);
        MakeLarger(state.width, state.height);
        if (state.maximised) {
            // Wine marks the window maximised before the window manager has
            // made it larger: wait for both.
            RECT before;
            GetWindowRect(window, &before);
            PostMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            ASSERT_TRUE(WaitUntil([&] {
                RECT now;
                GetWindowRect(window, &now);
                return IsZoomed(window) && SizeOf(now).cx > SizeOf(before).cx;
            }));
        }
        int was = dpi;
        for (const int now : {dpi == 96 ? 144 : 96, dpi}) {
            SCOPED_TRACE(now);
            RECT suggested;
            GetWindowRect(window, &suggested);
            // Windows' own scaling, no smaller than the smallest the window can be.
            const SIZE smallest = OuterSize(window, Pixels(8400, now), Pixels(7320, now), now);
            SIZE size{std::max<LONG>(smallest.cx, MulDiv(SizeOf(suggested).cx, now, was)),
                      std::max<LONG>(smallest.cy, MulDiv(SizeOf(suggested).cy, now, was))};
            for (const int wider : {0, state.resizedWider}) {
                if (!state.asked) break;
                // The size Windows passes, at the DPI the window was at, as
                // client twips. Wine draws the frame at the screen's DPI
                // whatever the window's, so the client area is what the outer
                // size holds at that DPI.
                const SIZE pending{SizeOf(suggested).cx + Pixels(wider, was), SizeOf(suggested).cy};
                const SIZE frame = OuterSize(window, 0, 0, was);
                const double widthTwips = (pending.cx - frame.cx) * 1440.0 / was;
                const double heightTwips = (pending.cy - frame.cy) * 1440.0 / was;
                const SIZE wanted = OuterSize(window, static_cast<int>(widthTwips * now / 1440 + 0.5),
                                              static_cast<int>(heightTwips * now / 1440 + 0.5), now);
                size = pending;
                EXPECT_EQ(program->SendWithData(0x02E4 /* WM_GETDPISCALEDSIZE */, now, &size, sizeof size),
                          state.maximised ? FALSE : TRUE) << wider << " twips wider";
                if (!state.maximised) {
                    EXPECT_NEAR(size.cx, wanted.cx, 1) << wider << " twips wider";
                    EXPECT_NEAR(size.cy, wanted.cy, 1) << wider << " twips wider";
                }
            }
            if (!state.maximised) suggested = {suggested.left + 8, suggested.top + 8, suggested.left + 8 + size.cx,
                                               suggested.top + 8 + size.cy};
            program->SendWithData(WM_DPICHANGED, MAKEWPARAM(now, now), &suggested, sizeof suggested);

            RECT placed;
            GetWindowRect(window, &placed);
            EXPECT_TRUE(EqualRect(&placed, &suggested)) << "taken as it is";
            EXPECT_EQ(IsZoomed(window) != FALSE, state.maximised);
            ExpectControlsAt(now);
            was = now;
        }
    }
}

TEST_F(Form, FocusStartsOnTheFolderListAndTabFollowsTheTabOrder) {
    EXPECT_TRUE(WaitUntil([&] { return Focus(window) == program->Dir1(); })) << GetDlgCtrlID(Focus(window));
    ASSERT_TRUE(BringToFront(window));
    for (bool shift : {false, true}) {
        const std::vector<int> order = shift ? std::vector{104, 103, 102, 101} : std::vector{102, 103, 104, 101};
        for (int id : order) {
            PressKey(VK_TAB, shift);
            EXPECT_TRUE(WaitUntil([&] { return GetDlgCtrlID(Focus(window)) == id; }))
                << (shift ? "Shift+Tab" : "Tab") << " to " << id << ", focus on " << GetDlgCtrlID(Focus(window));
        }
    }
}

TEST_F(Form, WhatTheScreenShows) {
    ASSERT_TRUE(BringToFront(window));
    const Screenshot screen = PaintedScreen();
    if (const std::wstring folder = WindowsPathFromEnvironment("VERONDEL_ARTIFACTS"); folder != L"Z:") {
        EXPECT_TRUE(screen.SaveAsBmp(folder + L"\\window-" + std::to_wstring(dpi) + L"dpi.bmp"));
    }

    const struct {
        const char* where;
        int x, y;  // twips
    } background[] = {{"left of the folder list", 60, 3000}, {"between the lists", 4267, 3000},
                      {"between the buttons", 4200, 6850},   {"below the buttons", 4200, 7250},
                      {"right of the file list", 8350, 3000}};
    for (const auto& b : background)
        EXPECT_EQ(Rgb(screen.At(window, Pixels(b.x, dpi), Pixels(b.y, dpi))), "RGB(224,224,224)") << b.where;

    for (HWND list : {program->Dir1(), program->File1()}) {
        SCOPED_TRACE(GetDlgCtrlID(list));
        const int rows = RowCount(list);
        ASSERT_GT(rows, 0);
        RECT last, client;
        SendMessageW(list, LB_GETITEMRECT, rows - 1, reinterpret_cast<LPARAM>(&last));
        GetClientRect(list, &client);
        ASSERT_LT(last.bottom + 20, client.bottom) << "room below the entries";
        EXPECT_EQ(Rgb(screen.At(list, client.right / 2, (last.bottom + client.bottom) / 2)), "RGB(192,192,255)")
            << "below the entries";
        EXPECT_EQ(Rgb(screen.At(list, client.right - 4, (last.top + last.bottom) / 2)), "RGB(192,192,255)")
            << "at the blank end of the last entry";
    }

    // The font asked for is checked exactly in ExpectControlsAt; here, that
    // the captions are drawn in it. A Chinese character is one em wide: n of
    // them in 12-point type ink about n ems at the screen's DPI.
    const int em = MulDiv(12, dpi, 72);
    for (const auto& [button, characters] : {std::pair{program->Command1(), 5}, std::pair{program->Command2(), 4}})
        EXPECT_NEAR(InkWidth(screen, button), characters * em, em / 2) << characters << " characters, em " << em;
}

// Windows' colours changed to a black contrast theme's while the program
// runs, then back: the form follows at once, the lists in the system's
// window colour. (Wine reports no contrast flag: white window text on the
// classic list is reason enough.)
TEST_F(Form, FollowsTheSystemColoursWhileItRuns) {
    const struct {
        int element;
        COLORREF contrast, usual;
    } colours[] = {{COLOR_WINDOW, RGB(0, 0, 0), GetSysColor(COLOR_WINDOW)},
                   {COLOR_WINDOWTEXT, RGB(255, 255, 255), GetSysColor(COLOR_WINDOWTEXT)},
                   {COLOR_BTNFACE, RGB(0, 0, 0), GetSysColor(COLOR_BTNFACE)}};
    ASSERT_TRUE(BringToFront(window));
    for (const bool contrast : {true, false}) {
        SCOPED_TRACE(contrast ? "contrast theme" : "usual colours again");
        for (const auto& c : colours) SetSysColorIn(window, c.element, contrast ? c.contrast : c.usual);
        const Screenshot screen = PaintedScreen();
        RECT client;
        GetClientRect(program->File1(), &client);
        EXPECT_EQ(Rgb(screen.At(program->File1(), client.right / 2, client.bottom - 8)),
                  contrast ? "RGB(0,0,0)" : "RGB(192,192,255)") << "the list below its entries";
        EXPECT_EQ(Rgb(screen.At(window, Pixels(4200, dpi), Pixels(6850, dpi))),
                  contrast ? "RGB(0,0,0)" : "RGB(224,224,224)") << "the form between the buttons";
    }
}

TEST(FormStartup, ShowsOnlyAfterTheStartupMessageIsClosed) {
    ClearDrive();
    MakeFolder(L"E:\\Other");
    Verondel program(L"E:\\Other");  // no settings file
    ASSERT_NE(program.WaitForBox().handle, nullptr) << program.State();
    EXPECT_EQ(program.Window(0), nullptr) << "no visible window behind the message";
    program.ExpectBox(L"Verondel设置.ini不存在");
    EXPECT_NE(program.Window(), nullptr);
}

// The text a tooltip of the program shows, or "" while it is hidden.
std::wstring TipShown(HWND tip) {
    if (!IsWindowVisible(tip)) return {};
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(tip, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

// A name the file list shows cut shows whole in a tip laid over its entry:
// while the pointer is on the entry, and after a key moves the selection
// onto it, until the next key or for about 5 s.
TEST(NameTip, ShowsANameTheListCutsWhole) {
    const std::wstring lesson1 = L"人教版三年级上册数学第六单元《多位数乘一位数》第1课时 口算乘法 课件.pptx";
    const std::wstring lesson2 = L"人教版三年级上册数学第六单元《多位数乘一位数》第2课时 笔算乘法 教案.docx";
    const std::wstring test = L"三年级数学上册 第六单元 单元测试卷（含答案）最终版.docx";
    const std::wstring plan = L"教案.docx";
    ClearDrive();
    for (const std::wstring& name : {lesson1, lesson2, test, plan}) WriteBytes(L"E:\\课程\\" + name, "x");
    WriteBytes(L"E:\\Verondel设置.ini", Gbk(L"课程\r\n"));
    Verondel program;
    ASSERT_NE(program.Window(), nullptr);
    HWND list = program.File1();
    const auto tip = [&] { return program.TopLevel(L"tooltips_class32"); };  // made when first shown
    ASSERT_TRUE(WaitUntil([&] { return RowCount(list) == 4; }));
    RECT between;  // the form between the buttons: off both lists
    GetWindowRect(program.Command1(), &between);
    const POINT off{between.right + 20, (between.top + between.bottom) / 2};
    const auto pointOff = [&] {
        POINT at = off;
        ScreenToClient(list, &at);
        PointAt(list, at.x, at.y);
    };

    const struct {
        const std::wstring* pointAt;  // nullptr: off the list
        std::wstring shown;
    } pointer[] = {{&lesson1, lesson1}, {&plan, L""}, {&test, test}, {&lesson2, lesson2}, {nullptr, L""}};
    for (const auto& p : pointer) {
        SCOPED_TRACE(testing::PrintToString(p.pointAt ? *p.pointAt : L"off the list"));
        if (p.pointAt) {
            const POINT centre = RowCentre(list, RowOf(list, *p.pointAt));
            PointAt(list, centre.x, centre.y);
        } else {
            pointOff();
        }
        EXPECT_TRUE(WaitUntil([&] { return TipShown(tip()) == p.shown; })) << testing::PrintToString(TipShown(tip()));
        if (p.shown.empty()) continue;
        // Laid over the entry the pointer is on.
        RECT over, entry;
        GetWindowRect(tip(), &over);
        SendMessageW(list, LB_GETITEMRECT, RowOf(list, *p.pointAt), reinterpret_cast<LPARAM>(&entry));
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&entry), 2);
        EXPECT_LT(over.top, (entry.top + entry.bottom) / 2);
        EXPECT_GT(over.bottom, (entry.top + entry.bottom) / 2);
    }

    // The keys, with the pointer off the list: onto lesson 1 from the entry
    // next to it.
    const int row = RowOf(list, lesson1), from = row > 0 ? row - 1 : row + 1;
    const WORD onto = row > from ? VK_DOWN : VK_UP;
    ClickRow(list, from);
    ASSERT_TRUE(WaitUntil([&] { return Highlighted(list) == from; }));
    pointOff();
    EXPECT_TRUE(WaitUntil([&] { return TipShown(tip()).empty(); }));
    PressKey(onto);
    EXPECT_TRUE(WaitUntil([&] { return TipShown(tip()) == lesson1; })) << "shown by a key";
    PressKey(VK_SHIFT);
    EXPECT_TRUE(WaitUntil([&] { return TipShown(tip()).empty(); }, 2000)) << "gone at the next key";
    PressKey(onto == VK_DOWN ? VK_UP : VK_DOWN);
    PressKey(onto);
    EXPECT_TRUE(WaitUntil([&] { return TipShown(tip()) == lesson1; }));
    Sleep(2000);
    EXPECT_EQ(TipShown(tip()), lesson1) << "still there after 2 s";
    EXPECT_TRUE(WaitUntil([&] { return TipShown(tip()).empty(); }, 6000)) << "gone after about 5 s";
}

}  // namespace

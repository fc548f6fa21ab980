#include "form1_window.h"

#include <exception>
#include <new>

#include "device_change.h"
#include "dpi.h"
#include "form_brushes.h"
#include "form_frame.h"
#include "layout.h"
#include "resource.h"
#include "system_text.h"
#include "texts.h"

namespace {

constexpr wchar_t kClassName[] = L"VerondelForm1";
constexpr DWORD kCatchUpMs = 50;  // how often the loop asks while changes wait
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE, Windows 10 1703 and later

// The standard list box procedure, which both lists pass on to (see ListProc).
WNDPROC listBoxProc = nullptr;

HFONT CreateFormFont(int dpi) {
    return CreateFontW(-MulDiv(kFontPoints, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       kFontFace);
}

HWND CreateButton(HWND parent, ControlId id, const wchar_t* caption) {
    return CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

[[noreturn]] void EndWith(const std::wstring& description) {
    MessageBoxW(nullptr, description.c_str(), texts::kAppTitle, MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

// The one boundary for exceptions: all the program does runs inside a
// window procedure, Form_Load or the message loop's own work (keys, the
// watched folders). A failure nobody foresaw shows one box and ends the
// program; it never unwinds through Windows' frames.
template <class Work>
LRESULT Guarded(Work work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        EndWith(L"内存不足");
    } catch (const std::exception& failure) {
        const std::string what = failure.what();
        EndWith(WideFromBytes(what.data(), what.size(), CP_ACP));
    }
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, Win32RunTime& runTime) : instance_(instance), runTime_(runTime) {}

bool Form1Window::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_VERONDEL));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_VERONDEL), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = brushes_.Form();
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) return false;

    // Made where Windows puts a program's first window (CW_USEDEFAULT): on
    // the monitor it was started from, or where it was told to start. Then
    // sized for that monitor and centred on it, every start, whatever size
    // it had when it was closed.
    const SIZE size = ClassicWindowSize(DpiOfWindow(nullptr));
    window_ = CreateWindowExW(kFormExStyle, kClassName, texts::kCaption, kFormStyle, CW_USEDEFAULT, 0, size.cx, size.cy,
                              nullptr, nullptr, instance_, this);
    if (window_) PlaceAtStart(window_, dpi_);
    return window_ != nullptr;
}

void Form1Window::Load() {
    Guarded([this] {
        form_->Form_Load();
        return LRESULT{0};
    });
}

void Form1Window::Show(int how) {
    runTime_.SetOwner(window_);
    ShowWindow(window_, how);
    UpdateWindow(window_);
    SetFocus(dir1_->Box().Handle());
    icons_.Start(window_);
}

// Waits for a message or a change in a watched folder, whichever comes
// first; nothing runs while neither does. Changes are applied here only,
// between messages: never inside a message box or a window drag, which run
// loops of their own, so the lists never change under a handler.
int Form1Window::RunMessageLoop() {
    for (;;) {
        Guarded([this] {
            const DWORD woken = MsgWaitForMultipleObjectsEx(watch_->Count(), watch_->Events(),
                                                            form_->Drive_Waiting() ? kCatchUpMs : INFINITE,
                                                            QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woken < WAIT_OBJECT_0 + watch_->Count()) form_->Drive_Changed(watch_->Take(woken - WAIT_OBJECT_0));
            form_->Drive_CatchUp();
            return LRESULT{0};
        });
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            if (message.message == WM_KEYDOWN && Guarded([&] { return LRESULT{OnKeyDown(message)}; })) continue;
            if (IsDialogMessageW(window_, &message)) continue;  // Tab, Shift+Tab, Space on buttons
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

LRESULT CALLBACK Form1Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return Guarded([&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_SIZE: OnSize(wParam); return 0;
        case WM_GETMINMAXINFO: KeepAtLeastSmallestSize(window_, *reinterpret_cast<MINMAXINFO*>(lParam), dpi_); return 0;
        case WM_ENTERSIZEMOVE: tip_->Hide(); return 0;
        case kGetDpiScaledSize: return OnGetDpiScaledSize(static_cast<int>(wParam), *reinterpret_cast<SIZE*>(lParam));
        case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
        case WM_CTLCOLORLISTBOX: return brushes_.PaintListBackground(reinterpret_cast<HDC>(wParam));
        case WM_CTLCOLORBTN: return reinterpret_cast<LRESULT>(brushes_.Form());  // the corners of themed buttons
        case WM_SYSCOLORCHANGE: brushes_.Follow(window_); return 0;
        case WM_SETTINGCHANGE: if (wParam == SPI_SETHIGHCONTRAST) brushes_.Follow(window_); return 0;
        case WM_ACTIVATE:  // give the focus back to the control that had it
            if (LOWORD(wParam) == WA_INACTIVE) focusWhenInactive_ = GetFocus();
            else if (focusWhenInactive_ && IsChild(window_, focusWhenInactive_)) SetFocus(focusWhenInactive_);
            return 0;
        case kSystemIconsLoaded: OnIconsLoaded(); return 0;
        case WM_DEVICECHANGE: return form_ ? RouteDeviceChange(*form_, wParam, lParam) : TRUE;
        case WM_DESTROY: OnDestroy(); return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// The controls are created in tab order, then placed for the window's DPI.
void Form1Window::OnCreate() {
    watch_.emplace(window_);
    scanner_.emplace(*watch_);
    dir1_ = std::make_unique<FolderListBox>(window_, kDir1, *scanner_);
    command1_ = CreateButton(window_, kCommand1, texts::kOpenFolderButton);
    file1_ = std::make_unique<FileListBox>(window_, kFile1, *scanner_);
    command2_ = CreateButton(window_, kCommand2, texts::kOpenFileButton);
    dir1_->Box().SetColours(brushes_.Lists());
    file1_->Box().SetColours(brushes_.Lists());
    tip_.emplace(window_, *dir1_, *file1_);
    // Both lists are standard list boxes: one procedure of theirs to pass on to.
    listBoxProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(dir1_->Box().Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
    SetWindowLongPtrW(file1_->Box().Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc));
    form_.emplace(runTime_, *dir1_, *file1_, *watch_);

    ApplyDpi(DpiOfWindow(window_));
}

// The events the program handles, each by one handler of Form1; everything
// else is the controls' own.
void Form1Window::OnCommand(int id, int code) {
    if (id == kDir1 && code == LBN_SELCHANGE) form_->Dir1_Click();
    else if (id == kDir1 && code == LBN_DBLCLK) form_->Dir1_DblClick();
    else if (id == kFile1 && code == LBN_SELCHANGE) form_->File1_Click();
    else if (id == kFile1 && code == LBN_DBLCLK) form_->File1_DblClick();
    else if (id == kCommand1 && code == BN_CLICKED) form_->Command1_Click();
    else if (id == kCommand2 && code == BN_CLICKED) form_->Command2_Click();
}

// Enter presses the focused button, or in a list does what a double-click
// does. F5 reads both lists again.
bool Form1Window::OnKeyDown(const MSG& key) {
    if (key.wParam == VK_F5) {
        form_->Form_Refresh();
        return true;
    }
    if (key.wParam != VK_RETURN) return false;
    if (key.hwnd == command1_ || key.hwnd == command2_) SendMessageW(key.hwnd, BM_CLICK, 0, 0);
    else if (key.hwnd == dir1_->Box().Handle()) form_->Dir1_DblClick();
    else if (key.hwnd == file1_->Box().Handle()) form_->File1_DblClick();
    else return false;
    return true;
}

// Every message to the lists passes here, 100,000 when a big folder is
// listed, so this stays a plain window procedure, the cheapest way in, and
// passes all but a few straight on.
LRESULT CALLBACK Form1Window::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!NameTip::Concerns(message)) return CallWindowProcW(listBoxProc, list, message, wParam, lParam);
    auto& self = *reinterpret_cast<Form1Window*>(GetWindowLongPtrW(GetParent(list), GWLP_USERDATA));
    return Guarded([&] { return self.OnListMessage(list, message, wParam, lParam); });
}

// The name tip sees what the pointer and the keys do, before the list and
// after it. Characters typed into a list go to the program's type-ahead
// rather than the list's own, which looks at the first letter only.
// Characters from an input method are sent here straight, not through the
// message loop.
LRESULT Form1Window::OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    tip_->Before(list, message, lParam);
    LRESULT result = 0;
    if (message != WM_CHAR) result = CallWindowProcW(listBoxProc, list, message, wParam, lParam);
    else if (list == dir1_->Box().Handle()) form_->Dir1_KeyPress(static_cast<wchar_t>(wParam));
    else form_->File1_KeyPress(static_cast<wchar_t>(wParam));
    tip_->After(list, message);
    return result;
}

// The lists take the new room (see the layout table); a tip over an entry
// that moved would be left behind.
void Form1Window::OnSize(WPARAM type) {
    if (tip_) tip_->Hide();
    if (type != SIZE_MINIMIZED) PlaceControls(window_, dpi_);
}

// Windows 10 1703 and later ask, before a move to a monitor of another DPI,
// what size the form wants there for the size it is given (the size it is
// being moved or resized to, not necessarily the one it has): that size in
// twips. Maximised or minimised, Windows' own scaling.
LRESULT Form1Window::OnGetDpiScaledSize(int dpi, SIZE& size) {
    if (IsZoomed(window_) || IsIconic(window_)) return FALSE;
    size = WindowSizeAtNewDpi(size, dpi_, dpi);
    return TRUE;
}

// Moved to a monitor of another DPI, the form takes the rectangle Windows
// suggests as it is: sized as the form asked above, or, before 1703, scaled
// by Windows. Any other size would move the window under the pointer
// during a drag, and could move it back and forth across the border.
void Form1Window::OnDpiChanged(int dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::OnIconsLoaded() {
    InvalidateRect(dir1_->Box().Handle(), nullptr, FALSE);
    InvalidateRect(file1_->Box().Handle(), nullptr, FALSE);
}

void Form1Window::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID == kDir1) dir1_->Draw(item, icons_);
    else if (item.CtlID == kFile1) file1_->Draw(item, icons_);
}

// Closing the window ends the program; the icon thread ends first.
void Form1Window::OnDestroy() {
    icons_.Stop();
    PostQuitMessage(0);
}

// Sizes the font for dpi and places every control from the twips table.
void Form1Window::ApplyDpi(int dpi) {
    tip_->Hide();  // it shows in the old font
    OwnedFont font(CreateFormFont(dpi));
    for (const ControlPlace& place : kControlPlaces)
        SendMessageW(Control(place.id), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    dir1_->Box().SetFont(font.Get());
    file1_->Box().SetFont(font.Get());
    font_ = std::move(font);  // the old font goes once no control uses it
    dpi_ = dpi;
    PlaceControls(window_, dpi);
}

HWND Form1Window::Control(ControlId id) const {
    switch (id) {
        case kDir1: return dir1_->Box().Handle();
        case kCommand1: return command1_;
        case kFile1: return file1_->Box().Handle();
        case kCommand2: return command2_;
    }
    return nullptr;
}

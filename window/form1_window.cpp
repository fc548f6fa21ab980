#include "window/form1_window.h"

#include <exception>
#include <new>

#include "platform/win32/dpi.h"
#include "resources/resource.h"
#include "window/layout.h"
#include "window/texts.h"

namespace {

constexpr wchar_t kClassName[] = L"VerondelForm1";
constexpr UINT kIconsReady = WM_APP;  // from the thread that loads the system icons
// Fixed size: caption, system menu and minimise box; no maximise, no sizing border.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

COLORREF FromOleColor(unsigned color) { return static_cast<COLORREF>(color & 0x00FFFFFF); }

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

// Centres a window of size on the work area of the monitor it is on.
POINT CentredOnMonitor(HWND window, SIZE size) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    return {area.left + std::max<LONG>(0, (area.right - area.left - size.cx) / 2),
            area.top + std::max<LONG>(0, (area.bottom - area.top - size.cy) / 2)};
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, Win32RunTime& app)
    : instance_(instance),
      app_(app),
      background_(CreateSolidBrush(FromOleColor(kFormBackground))),
      controlBackground_(CreateSolidBrush(FromOleColor(kControlBackground))) {}

Form1Window::~Form1Window() {
    if (font_) DeleteObject(font_);
    DeleteObject(background_);
    DeleteObject(controlBackground_);
}

bool Form1Window::Create() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_VERONDEL));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_VERONDEL), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background_;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) return false;

    window_ = CreateWindowExW(kExStyle, kClassName, texts::kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                              nullptr, nullptr, instance_, this);
    return window_ != nullptr;
}

void Form1Window::Load() {
    Guarded([this] { form_->Form_Load(); });
}

void Form1Window::Show() {
    app_.SetOwner(window_);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetFocus(dir1_->Box().Handle());
    ListBox::StartLoadingSystemIcons(window_);
}

int Form1Window::RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && OnEnterKey(message.hwnd)) continue;
        if (IsDialogMessageW(window_, &message)) continue;  // Tab, Shift+Tab, Space on buttons
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Form1Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: OnCreate(); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_DPICHANGED: OnDpiChanged(HIWORD(wParam), *reinterpret_cast<RECT*>(lParam)); return 0;
        case WM_CTLCOLORLISTBOX:
            SetBkColor(reinterpret_cast<HDC>(wParam), FromOleColor(kControlBackground));
            return reinterpret_cast<LRESULT>(controlBackground_);
        case WM_CTLCOLORBTN: return reinterpret_cast<LRESULT>(background_);  // the corners of themed buttons
        case WM_ACTIVATE:  // give the focus back to the control that had it
            if (LOWORD(wParam) == WA_INACTIVE) focusWhenInactive_ = GetFocus();
            else if (focusWhenInactive_ && IsChild(window_, focusWhenInactive_)) SetFocus(focusWhenInactive_);
            return 0;
        case kIconsReady: OnIconsReady(); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// The controls are created in tab order, then placed for the window's DPI.
void Form1Window::OnCreate() {
    dir1_ = std::make_unique<FolderListBox>(window_, kDir1);
    command1_ = CreateButton(window_, kCommand1, texts::kOpenFolderButton);
    file1_ = std::make_unique<FileListBox>(window_, kFile1);
    command2_ = CreateButton(window_, kCommand2, texts::kOpenFileButton);
    dir1_->Box().SetBackground(controlBackground_);
    file1_->Box().SetBackground(controlBackground_);
    form_.emplace(app_, *dir1_, *file1_);

    const int dpi = DpiOfWindow(window_);
    ApplyDpi(dpi);
    const SIZE size = WindowSizeForClient(TwipsToPixels(kClientWidthTwips, dpi),
                                          TwipsToPixels(kClientHeightTwips, dpi), kStyle, kExStyle, dpi);
    const POINT at = CentredOnMonitor(window_, size);
    SetWindowPos(window_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The five events the program handles; everything else is the controls' own.
void Form1Window::OnCommand(int id, int code) {
    if (id == kDir1 && code == LBN_SELCHANGE) Guarded([this] { form_->Dir1_Click(); });
    else if (id == kDir1 && code == LBN_DBLCLK) OpenHighlightedFolder();
    else if (id == kFile1 && code == LBN_SELCHANGE) Guarded([this] { form_->File1_Click(); });
    else if (id == kCommand1 && code == BN_CLICKED) Guarded([this] { form_->Command1_Click(); });
    else if (id == kCommand2 && code == BN_CLICKED) Guarded([this] { form_->Command2_Click(); });
}

// Double-click or Enter in the folder list opens the highlighted folder:
// the list's own behaviour, which the program does not handle beyond
// reporting a folder that cannot be opened.
void Form1Window::OpenHighlightedFolder() {
    Guarded([this] {
        const std::wstring folder = dir1_->List(dir1_->ListIndex());
        if (const Result result = dir1_->SetPath(folder); !result.ok) form_->ReportCannotOpenFolder(folder, result);
    });
}

// Enter presses the focused button, or opens the highlighted folder.
bool Form1Window::OnEnterKey(HWND focus) {
    if (focus == command1_ || focus == command2_) {
        SendMessageW(focus, BM_CLICK, 0, 0);
        return true;
    }
    if (focus == dir1_->Box().Handle()) {
        OpenHighlightedFolder();
        return true;
    }
    return false;
}

void Form1Window::OnDpiChanged(int dpi, const RECT& suggested) {
    ApplyDpi(dpi);
    const SIZE size = WindowSizeForClient(TwipsToPixels(kClientWidthTwips, dpi),
                                          TwipsToPixels(kClientHeightTwips, dpi), kStyle, kExStyle, dpi);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::OnIconsReady() {
    InvalidateRect(dir1_->Box().Handle(), nullptr, FALSE);
    InvalidateRect(file1_->Box().Handle(), nullptr, FALSE);
}

void Form1Window::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID == kDir1) dir1_->Draw(item);
    else if (item.CtlID == kFile1) file1_->Draw(item);
}

// Places every control and sizes the font from the twips table at dpi.
void Form1Window::ApplyDpi(int dpi) {
    HFONT oldFont = font_;
    font_ = CreateFormFont(dpi);
    for (const ControlPlace& place : kControlPlaces) {
        HWND control = Control(place.id);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        MoveWindow(control, TwipsToPixels(place.left, dpi), TwipsToPixels(place.top, dpi),
                   TwipsToPixels(place.width, dpi), TwipsToPixels(place.height, dpi), TRUE);
    }
    dir1_->Box().SetFont(font_);
    file1_->Box().SetFont(font_);
    if (oldFont) DeleteObject(oldFont);
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

template <class Handler>
void Form1Window::Guarded(Handler handler) {
    const auto endWith = [](const std::wstring& description) {
        MessageBoxW(nullptr, description.c_str(), texts::kAppTitle, MB_OK | MB_ICONERROR);
        ExitProcess(1);
    };
    try {
        handler();
    } catch (const std::bad_alloc&) {
        endWith(L"内存不足");
    } catch (const std::exception& failure) {
        const std::string what = failure.what();
        endWith(std::wstring(what.begin(), what.end()));
    }
}

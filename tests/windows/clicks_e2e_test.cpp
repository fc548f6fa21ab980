// Clicks, keys and launches in the real exe, observed from outside: the
// lists' entries, message boxes, and what the recorder saw launched.
#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>

#include "driver.h"
#include "test_drive.h"

namespace {

using Names = std::vector<std::wstring>;
const std::wstring kExplorer = L"\"C:\\windows\\explorer.exe\" ";

std::wstring Opened(const std::wstring& file) { return L"\"C:\\test\\record.exe\" \"" + file + L"\""; }

// What the stand-in for the Linux desktop's opener (tests/windows/desktop/
// xdg-open) was handed: file:// URIs, as the Unix paths they decode to.
Names HandedToTheDesktop() {
    Names paths;
    for (const std::wstring& uri : ReadLines(WindowsPathFromEnvironment("VERONDEL_DRIVE_E") + L".opened")) {
        std::string bytes;
        for (size_t i = uri.starts_with(L"file://") ? 7 : 0; i < uri.size(); ++i) {
            const bool escaped = uri[i] == L'%' && i + 2 < uri.size();
            bytes += static_cast<char>(escaped ? std::stoi(uri.substr(i + 1, 2), nullptr, 16) : uri[i]);
            if (escaped) i += 2;
        }
        std::wstring path(bytes.size(), L'\0');
        path.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), path.data(),
                                        static_cast<int>(path.size())));
        paths.push_back(path);
    }
    return paths;
}

// A real shortcut at path to target, as Explorer makes one: opened, it starts target.
void MakeShortcut(const std::wstring& path, const std::wstring& target) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&link)), S_OK);
    link->SetPath(target.c_str());
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
    EXPECT_EQ(file->Save(path.c_str(), TRUE), S_OK) << testing::PrintToString(path);
    file->Release();
    link->Release();
}

// The drive of the typical run: the program at E:\, the settings naming Lessons.
struct Clicks : ::testing::Test {
    std::unique_ptr<Verondel> program;

    void SetUp() override {
        ClearDrive();
        InstallRecorder(L".lesson");
        WriteBytes(L"E:\\Verondel设置.ini", "Lessons\r\n");
        WriteBytes(L"E:\\a.lesson", "x");
        WriteBytes(L"E:\\Lessons\\intro.lesson", "x");
        WriteBytes(L"E:\\Lessons\\Week1\\slides.lesson", "x");
        WriteBytes(L"E:\\Lessons\\Week1\\日本語の授業😀.lesson", "x");
        WriteBytes(L"E:\\Lessons\\Week1\\课件 第一课.lesson", "x");
        WriteBytes(L"E:\\Lessons\\Week1\\unknown.nothing", "x");
        MakeFolder(L"E:\\Lessons\\My Lessons, 2024");
        MakeFolder(L"E:\\Lessons\\a=b");
        MakeFolder(L"E:\\Lessons\\Week2");
    }
    void Start(const std::wstring& startIn = L"E:\\") {
        program = std::make_unique<Verondel>(startIn);
        ASSERT_NE(program->Window(), nullptr);
        ASSERT_TRUE(program->NoBox());
    }
    // Rows of the folder list after start-up: E:\, Lessons, then the subfolders.
    static constexpr int kRoot = 0, kLessons = 1, kAEqualsB = 2, kMyLessons = 3, kWeek1 = 4, kWeek2 = 5;

    void OpenFolderButton() { ClickButton(program->Command1()); }
    void OpenFileButton() { ClickButton(program->Command2()); }
    // Clicks the file and waits until the program has it selected.
    void ClickFile(const std::wstring& name) {
        const int row = RowOf(program->File1(), name);
        ASSERT_GE(row, 0) << testing::PrintToString(name);
        ClickRow(program->File1(), row);
        ASSERT_TRUE(WaitUntil([&] { return Highlighted(program->File1()) == row; }));
    }
    // Clicks a folder row and waits until its files are listed.
    void ClickFolder(int row, size_t files) {
        ClickRow(program->Dir1(), row);
        ASSERT_TRUE(WaitUntil([&] {
            return Highlighted(program->Dir1()) == row && Entries(program->File1()).size() == files;
        }));
    }
    // The one program the last TakeLaunches took started in folder, and
    // without the program's own error mode, which hides "insert a disk"
    // prompts from the program alone. (Wine hands no error mode on, so only
    // Windows can show that one wrong.)
    void ExpectStartedIn(const std::wstring& folder) {
        const std::vector<HowStarted>& starts = program->TakenStarts();
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].folder, folder);
        EXPECT_EQ(starts[0].errorMode & SEM_FAILCRITICALERRORS, 0u);
    }
    // The lists follow the drive: a change shows within 2 s, without a click.
    bool Shows(HWND list, const Names& entries) {
        return WaitUntil([&] { return Entries(list) == entries; }, 2000);
    }
};

TEST_F(Clicks, TypicalRun) {
    Start();
    EXPECT_EQ(Entries(program->Dir1()),
              (Names{L"E:\\", L"Lessons", L"a=b", L"My Lessons, 2024", L"Week1", L"Week2"}));
    OpenFolderButton();  // right after start-up: the folder start-up chose
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\""});

    ClickFolder(kWeek1, 4);
    EXPECT_EQ(Entries(program->Dir1()).size(), 6u) << "a click does not open the folder";
    ClickFile(L"slides.lesson");
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week1\\slides.lesson")});
    ExpectStartedIn(L"E:\\Lessons\\Week1");  // the file's own folder
    OpenFolderButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\\Week1\""});
    ExpectStartedIn(L"C:\\windows");  // Explorer in the Windows folder, never on the drive
    EXPECT_TRUE(program->NoBox());
}

TEST_F(Clicks, FolderNamesReachExplorerAsOneField) {
    Start();
    const struct {
        int row;
        std::wstring folder;
    } cases[] = {
        {kMyLessons, L"E:\\Lessons\\My Lessons, 2024"},
        {kAEqualsB, L"E:\\Lessons\\a=b"},
        {kRoot, L"E:\\"},                 // an ancestor; the folder list stays on Lessons
        {kLessons, L"E:\\Lessons"},
    };
    for (const auto& c : cases) {
        ClickRow(program->Dir1(), c.row);
        OpenFolderButton();
        EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"" + c.folder + L"\""});
        EXPECT_EQ(Entries(program->Dir1())[1], L"Lessons");
    }
}

TEST_F(Clicks, FilesAtARootAndWithAnyName) {
    Start();
    ClickFolder(kRoot, 3);  // a.lesson, Verondel.exe and Verondel设置.ini
    ClickFile(L"a.lesson");
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\a.lesson")});

    ClickFolder(kWeek1, 4);
    for (const wchar_t* name : {L"日本語の授業😀.lesson", L"课件 第一课.lesson"}) {
        ClickFile(name);
        OpenFileButton();
        EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week1\\" + std::wstring(name))});
    }
}

TEST_F(Clicks, OpenFileWithNothingSelected) {
    Start();
    OpenFileButton();  // before any file click
    program->ExpectBox(L"请先选择文件");
    ClickFolder(kLessons, 1);
    ClickFile(L"intro.lesson");
    ClickRow(program->Dir1(), kWeek1);  // a folder click forgets the file
    OpenFileButton();
    program->ExpectBox(L"请先选择文件");
    EXPECT_TRUE(program->NothingLaunched());
}

TEST_F(Clicks, FailedOpensAreReported) {
    Start();
    ClickFolder(kWeek1, 4);
    ClickFile(L"slides.lesson");
    // Gone since it was listed: the list has not heard of it yet, as while
    // Windows asks to remove the drive, when the program stops watching.
    program->SendDeviceChange(DBT_DEVICEQUERYREMOVE);
    DeleteFileW(L"E:\\Lessons\\Week1\\slides.lesson");
    OpenFileButton();
    program->ExpectBox(L"无法打开文件\nE:\\Lessons\\Week1\\slides.lesson\n");

    // No program is associated with the type: the system's "Open with"
    // choice is offered instead, and no box.
    ClickFile(L"unknown.nothing");
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week1\\unknown.nothing")});
    EXPECT_TRUE(program->NoBox());
    EXPECT_TRUE(program->IsRunning());
}

// Under Wine, what no Windows program opens goes to the Linux desktop: run
// once as it is, with no opener, and once with a stand-in for the desktop's
// opener first on the Linux PATH (VERONDEL_DESKTOP names its folder).
TEST_F(Clicks, TheLinuxDesktopOpensWhatNoWindowsProgramDoes) {
    const std::wstring folder = L"E:\\Lessons\\第 1 课 100% #1", lesson = folder + L"\\讲义 50% #2.odt";
    WriteBytes(lesson, "x");
    WriteBytes(folder + L"\\run me.sh", "x");
    WriteBytes(folder + L"\\slides.lesson", "x");
    const std::wstring week2 = L"E:\\Lessons\\Week2\\";
    WriteBytes(week2 + L"练习.qqq", "#!/bin/sh\necho run\n");
    for (const wchar_t* file : {L"课件.kdelnk", L"课件.jnlp", L"练习.py", L"讲义.odp", L"视频.mkv", L"表格.et"})
        WriteBytes(week2 + file, "x");
    const bool desktop = std::getenv("VERONDEL_DESKTOP") != nullptr;
    if (!desktop) {  // winebrowser tries these; the other tests expect none of them
        const char* openers = std::getenv("VERONDEL_HOST_OPENERS");
        ASSERT_STREQ(openers ? openers : "(not looked for)", "") << "a desktop opener is installed on this host";
    }
    Start();
    ClickFolder(RowOf(program->Dir1(), L"第 1 课 100% #1"), 3);
    ClickFile(L"slides.lesson");  // Wine has a program for it: it opens there, as ever
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(folder + L"\\slides.lesson")});
    ClickFile(L"run me.sh");  // the desktop would run it: never handed over
    OpenFileButton();
    program->ExpectBox(L"无法打开文件\n" + folder + L"\\run me.sh\n");

    ClickFile(L"讲义 50% #2.odt");
    OpenFileButton();
    if (!desktop) program->ExpectBox(L"无法打开文件\n" + lesson + L"\n");
    OpenFolderButton();
    if (!desktop) {
        EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"" + folder + L"\""});
        return;
    }
    const std::string prefix = std::getenv("WINEPREFIX");  // Wine's path of E:\ runs through it
    const std::wstring unix = std::wstring(prefix.begin(), prefix.end()) + L"/dosdevices/e:/Lessons/第 1 课 100% #1";
    EXPECT_TRUE(WaitUntil([&] { return HandedToTheDesktop().size() >= 2; }));
    EXPECT_EQ(HandedToTheDesktop(), (Names{unix + L"/讲义 50% #2.odt", unix}));
    EXPECT_TRUE(program->NoBox());
    EXPECT_EQ(LaunchesRecorded(), 0u);  // no Explorer

    // Only the kinds of file lessons are made of: never a script under
    // another name, a desktop entry of KDE's, Java Web Start or Python.
    ClickFolder(RowOf(program->Dir1(), L"Week2"), 7);
    for (const wchar_t* file : {L"练习.qqq", L"课件.kdelnk", L"课件.jnlp", L"练习.py"}) {
        ClickFile(file);
        OpenFileButton();
        program->ExpectBox(L"无法打开文件\n" + week2 + file + L"\n");
    }
    for (const wchar_t* file : {L"讲义.odp", L"视频.mkv", L"表格.et"}) {
        ClickFile(file);
        OpenFileButton();
    }
    const std::wstring unixWeek2 = std::wstring(prefix.begin(), prefix.end()) + L"/dosdevices/e:/Lessons/Week2";
    EXPECT_TRUE(WaitUntil([&] { return HandedToTheDesktop().size() >= 5; }));
    EXPECT_EQ(HandedToTheDesktop(), (Names{unix + L"/讲义 50% #2.odt", unix, unixWeek2 + L"/讲义.odp",
                                           unixWeek2 + L"/视频.mkv", unixWeek2 + L"/表格.et"}));
    EXPECT_TRUE(program->NoBox());
}

// While it lives, the recorder stands in for Wine's winebrowser too, in the
// programs started meanwhile: a slow one that finds no desktop opener
// (recorder.cpp). Wine runs its own in the system folder unless told not to.
struct SlowWinebrowser {
    const wchar_t* kPlaces[2] = {L"C:\\windows\\system32\\winebrowser.exe", L"C:\\windows\\syswow64\\winebrowser.exe"};
    const wchar_t* kOverrides = L"Software\\Wine\\DllOverrides";
    SlowWinebrowser() {
        for (const std::wstring place : kPlaces) {
            CopyFileW(place.c_str(), (place + L".real").c_str(), FALSE);
            CopyFileW(L"C:\\test\\record.exe", place.c_str(), FALSE);
        }
        HKEY overrides;
        RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_WRITE, nullptr, &overrides, nullptr);
        RegSetValueExW(overrides, L"winebrowser.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"native"), 14);
        RegCloseKey(overrides);
    }
    ~SlowWinebrowser() {
        for (const std::wstring place : kPlaces)
            MoveFileExW((place + L".real").c_str(), place.c_str(), MOVEFILE_REPLACE_EXISTING);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kOverrides, L"winebrowser.exe");
    }
};

// Under Wine, "打开文件夹" hands the folder to winebrowser first, by its full
// path, the root's backslash doubled as the C run time reads arguments.
// While the program waits for it, the window answers, and a second press
// waits its turn rather than launch under the first.
TEST_F(Clicks, WaitingForTheDesktopNeitherFreezesNorNests) {
    const SlowWinebrowser winebrowser;
    Start();
    ClickFolder(kRoot, 3);
    OpenFolderButton();
    ASSERT_TRUE(WaitUntil([] { return LaunchesRecorded() == 1; }));
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(program->Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &answer), 0);
    OpenFolderButton();
    // The second press starts nothing until the first has ended; what each
    // then starts (Explorer, winebrowser) may write its line first.
    const std::wstring handed = L"\"C:\\windows\\system32\\winebrowser.exe\" \"E:\\\\\"";
    const Names launches = program->TakeLaunches(6, 10000);
    ASSERT_EQ(launches.size(), 6u) << testing::PrintToString(launches);
    EXPECT_EQ(Names(launches.begin(), launches.begin() + 2), (Names{handed, L"winebrowser ended"}));
    EXPECT_EQ(std::count(launches.begin(), launches.end(), handed), 2);
    EXPECT_EQ(std::count(launches.begin(), launches.end(), kExplorer + L"\"E:\\\""), 2);
    EXPECT_TRUE(program->NoBox());
}

TEST_F(Clicks, FolderRemovedAfterItWasListedChangesNothing) {
    Start();
    // The lists do not hear of what goes, as while Windows asks to remove the drive.
    program->SendDeviceChange(DBT_DEVICEQUERYREMOVE);
    ClickFolder(kWeek1, 4);
    // Gone between the click, which read the folder, and Enter, which opens it.
    ASSERT_TRUE(MoveFileW(L"E:\\Lessons\\Week1", L"E:\\Lessons\\Week1 (old)"));
    PressKey(VK_RETURN);
    program->ExpectBox(L"无法打开文件夹\nE:\\Lessons\\Week1\n");
    EXPECT_EQ(Entries(program->Dir1()).size(), 6u);
    EXPECT_EQ(Highlighted(program->Dir1()), kWeek1);
    ASSERT_TRUE(MoveFileW(L"E:\\Lessons\\Week1 (old)", L"E:\\Lessons\\Week1"));

    ClickFile(L"slides.lesson");
    RemoveDirectoryW(L"E:\\Lessons\\Week2");
    ClickRow(program->Dir1(), kWeek2);
    program->ExpectBox(L"无法打开文件夹\nE:\\Lessons\\Week2\n");
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(program->Dir1()) == kWeek1; }));
    EXPECT_EQ(Entries(program->File1()).size(), 4u);
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week1\\slides.lesson")});
    OpenFolderButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\\Week1\""});
}

TEST_F(Clicks, DoubleClickAndEnterOpenAFolderOrAFile) {
    Start();
    ClickRow(program->Dir1(), kWeek1, /*doubleClick=*/true);
    EXPECT_TRUE(WaitUntil([&] { return Entries(program->Dir1()) == Names{L"E:\\", L"Lessons", L"Week1"}; }));
    OpenFolderButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\\Week1\""});

    ClickRow(program->Dir1(), 1);  // Lessons, then Enter opens it
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Entries(program->Dir1()).size() == 6; }));
    EXPECT_EQ(Highlighted(program->Dir1()), kLessons);

    // In the file list they open the file, once, as "打开文件" does.
    ClickFolder(kWeek1, 4);
    ClickRow(program->File1(), RowOf(program->File1(), L"slides.lesson"), /*doubleClick=*/true);
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week1\\slides.lesson")});
    ClickFile(L"课件 第一课.lesson");
    PressKey(VK_RETURN);
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week1\\课件 第一课.lesson")});
}

// A stick as a virus leaves it: the lesson folders hidden, each with a
// program of its name beside it that records its start if it ever runs.
TEST_F(Clicks, InfectedStickShowsWhatWasHiddenAndRunsNoDecoy) {
    const std::wstring recorder = WindowsPathFromEnvironment("VERONDEL_RECORDER");
    const auto hide = [](const wchar_t* path) { SetFileAttributesW(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM); };
    WriteBytes(L"E:\\Verondel设置.ini", Gbk(L"课程"));
    WriteBytes(L"E:\\课程\\第一周\\课件.lesson", "x");
    // Hidden, not a system folder, with nothing of its name beside it.
    SetFileAttributesW(MakeFolder(L"E:\\课程\\私人").c_str(), FILE_ATTRIBUTE_HIDDEN);
    for (const wchar_t* folder : {L"E:\\课程", L"E:\\课程\\第一周"}) hide(folder);
    for (const wchar_t* copy : {L"E:\\课程.exe", L"E:\\课程\\第一周.exe", L"E:\\课程\\口算练习.exe"})
        ASSERT_TRUE(CopyFileW(recorder.c_str(), copy, FALSE));
    Start();  // on the hidden start folder, with no box
    EXPECT_EQ(Entries(program->Dir1()), (Names{L"E:\\", L"课程", L"第一周"}));
    EXPECT_EQ(SendMessageW(program->Dir1(), LB_GETITEMDATA, 2, 0), 1) << "drawn faded, as Explorer draws hidden items";
    EXPECT_EQ(Entries(program->File1()), (Names{L"第一周.exe", L"口算练习.exe"}));

    const std::wstring refused = L"“第一周.exe”可能是病毒留下的伪装，为了安全，没有打开它。\n"
                                 L"真正的文件夹“第一周”就在文件夹列表中。\n请用杀毒软件查杀这个U盘。";
    ClickFile(L"第一周.exe");
    OpenFileButton();
    program->ExpectBox(refused);
    ClickRow(program->File1(), 0, /*doubleClick=*/true);
    program->ExpectBox(refused);
    PressKey(VK_RETURN);
    program->ExpectBox(refused);
    ClickFile(L"口算练习.exe");  // courseware opens as before
    OpenFileButton();
    ASSERT_EQ(program->TakeLaunches(1).size(), 1u) << "the courseware only, never the decoy";

    // Hidden, then given a decoy, while the window is open.
    hide(MakeFolder(L"E:\\课程\\第二周").c_str());
    ASSERT_TRUE(CopyFileW(recorder.c_str(), L"E:\\课程\\第二周.exe", FALSE));
    EXPECT_TRUE(Shows(program->Dir1(), {L"E:\\", L"课程", L"第一周", L"第二周"}));
    // Its attributes cleared (attrib -h -s), then set again: the mark follows.
    const auto faded = [&](int row) { return SendMessageW(program->Dir1(), LB_GETITEMDATA, row, 0) == 1; };
    ASSERT_TRUE(WaitUntil([&] { return faded(3); }, 2000));
    SetFileAttributesW(L"E:\\课程\\第二周", FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(WaitUntil([&] { return !faded(3); }, 2000)) << "still faded";
    hide(L"E:\\课程\\第二周");
    EXPECT_TRUE(WaitUntil([&] { return faded(3); }, 2000)) << "not faded again";

    ClickRow(program->Dir1(), 2, /*doubleClick=*/true);  // the hidden folder opens as any other
    EXPECT_TRUE(WaitUntil([&] { return Entries(program->File1()) == Names{L"课件.lesson"}; }));
    ClickFile(L"课件.lesson");
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\课程\\第一周\\课件.lesson")});
}

// A stick an antivirus has cleaned of its decoys, and the shortcut worm's
// work: the folders hidden and system are listed without a decoy, but not
// those Windows and disk checks make; the files the worm hid are listed and
// open; its shortcuts and its hidden program never run. Under Wine, a
// file's own shortcut never runs either.
TEST_F(Clicks, InfectedStickAfterAnAntivirusAndTheShortcutWorm) {
    const auto hide = [](const std::wstring& path) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    };
    WriteBytes(L"E:\\Verondel设置.ini", "");  // the program's own folder, E:\ (Verondel.exe goes there)
    for (const wchar_t* folder : {L"课程", L"System Volume Information", L"$RECYCLE.BIN", L"FOUND.000", L"autorun.inf"})
        hide(MakeFolder(std::wstring(L"E:\\") + folder));
    for (const wchar_t* file : {L"E:\\课件.lesson", L"E:\\第1.2课.lesson"}) {
        WriteBytes(file, "x");
        hide(file);
    }
    MakeShortcut(L"E:\\课件.lnk", L"C:\\test\\record.exe");
    MakeShortcut(L"E:\\第1.lnk", L"C:\\test\\record.exe");
    ASSERT_TRUE(CopyFileW(L"C:\\test\\record.exe", L"E:\\更新.exe", FALSE));
    SetFileAttributesW(L"E:\\更新.exe", FILE_ATTRIBUTE_HIDDEN);
    MakeShortcut(L"E:\\更新.exe.lnk", L"E:\\更新.exe");
    WriteBytes(L"E:\\讲义.lesson", "x");
    MakeShortcut(L"E:\\讲义.lesson.lnk", L"C:\\test\\record.exe");
    Start();
    EXPECT_EQ(Entries(program->Dir1()), (Names{L"E:\\", L"Lessons", L"课程"}));
    EXPECT_EQ(SendMessageW(program->Dir1(), LB_GETITEMDATA, 2, 0), 1) << "drawn faded";
    const Names files = Entries(program->File1());
    for (const wchar_t* file : {L"课件.lesson", L"第1.2课.lesson", L"课件.lnk", L"更新.exe.lnk", L"讲义.lesson"})
        EXPECT_NE(std::find(files.begin(), files.end(), file), files.end()) << testing::PrintToString(file);
    EXPECT_EQ(std::find(files.begin(), files.end(), L"更新.exe"), files.end()) << "a hidden program is listed";

    ClickFile(L"课件.lesson");
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\课件.lesson")});
    const std::wstring scan = L"请用杀毒软件查杀这个U盘。", decoy = L"可能是病毒留下的伪装，为了安全，没有打开它。\n";
    const struct {
        const wchar_t* shortcut;
        std::wstring box;
    } refused[] = {
        {L"课件.lnk", L"“课件.lnk”" + decoy + L"真正的文件“课件.lesson”就在文件列表中。\n" + scan},
        {L"第1.lnk", L"“第1.lnk”" + decoy + L"真正的文件“第1.2课.lesson”就在文件列表中。\n" + scan},
        {L"更新.exe.lnk", L"“更新.exe.lnk”" + decoy + scan},
        {L"讲义.lesson.lnk", L"“讲义.lesson.lnk”" + decoy + L"真正的文件“讲义.lesson”就在文件列表中。\n" + scan},
    };
    for (const auto& r : refused) {
        ClickFile(r.shortcut);
        OpenFileButton();
        program->ExpectBox(r.box);
    }
    EXPECT_TRUE(program->NothingLaunched());
}

TEST_F(Clicks, ListsFollowTheDrive) {
    Start(L"E:\\Lessons\\Week2");  // the program lets go of it: Week2 can be moved below
    ClickFolder(kWeek1, 4);
    ClickFile(L"slides.lesson");
    HWND folders = program->Dir1(), files = program->File1();
    // New entries sort before the highlighted folder and the selected file:
    // both stay highlighted by name, and the buttons still act on them.
    MakeFolder(L"E:\\Lessons\\Week0");
    WriteBytes(L"E:\\Lessons\\Week1\\a new.lesson", "x");
    WriteBytes(L"E:\\Lessons\\Week1\\b new.lesson", "x");
    EXPECT_TRUE(Shows(folders, {L"E:\\", L"Lessons", L"a=b", L"My Lessons, 2024", L"Week0", L"Week1", L"Week2"}));
    EXPECT_TRUE(WaitUntil([&] { return Entries(files).size() == 6; }, 2000)) << testing::PrintToString(Entries(files));
    EXPECT_EQ(RowText(folders, Highlighted(folders)), L"Week1");
    EXPECT_EQ(RowText(files, Highlighted(files)), L"slides.lesson");
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week1\\slides.lesson")});
    OpenFolderButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\\Week1\""});

    // The selected file removed: nothing is selected, for "打开文件" either.
    ASSERT_TRUE(DeleteFileW(L"E:\\Lessons\\Week1\\slides.lesson"));
    EXPECT_TRUE(WaitUntil([&] { return Entries(files).size() == 5; }, 2000));
    EXPECT_EQ(RowOf(files, L"slides.lesson"), -1);
    EXPECT_EQ(Highlighted(files), -1);
    OpenFileButton();
    program->ExpectBox(L"请先选择文件");

    // More files at once than a watch can tell of, while a message box is
    // up and once more after: none shows under the box, all do after it.
    OpenFileButton();
    ASSERT_NE(program->WaitForBox().handle, nullptr);
    ASSERT_TRUE(ChangeOutsideWine(L"cd Lessons/Week1 && seq 1 2000 | sed s/^/while_a_box_is_up_/ | xargs touch"));
    EXPECT_FALSE(WaitUntil([&] { return RowCount(files) != 5; }, 1000)) << "changed under a message box";
    program->ExpectBox(L"请先选择文件");
    EXPECT_TRUE(WaitUntil([&] { return RowCount(files) == 2005; }, 3000)) << RowCount(files);
    ASSERT_TRUE(ChangeOutsideWine(L"cd Lessons/Week1 && seq 1 20000 | sed s/^/burst_/ | xargs touch && rm while_a*"));
    EXPECT_TRUE(WaitUntil([&] { return RowCount(files) == 20005; }, 10000)) << RowCount(files);
    ASSERT_TRUE(ChangeOutsideWine(L"rm Lessons/Week1/burst_*"));
    EXPECT_TRUE(WaitUntil([&] { return RowCount(files) == 5; }, 10000)) << RowCount(files);

    // The highlighted folder gone: the open folder becomes current.
    ClickFolder(RowOf(folders, L"Week2"), 0);
    ASSERT_TRUE(MoveFileW(L"E:\\Lessons\\Week2", L"E:\\Week2 (removed)"));
    EXPECT_TRUE(Shows(folders, {L"E:\\", L"Lessons", L"a=b", L"My Lessons, 2024", L"Week0", L"Week1"}));
    EXPECT_TRUE(Shows(files, {L"intro.lesson"}));
    EXPECT_EQ(Highlighted(folders), kLessons);
    OpenFolderButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\""});
    EXPECT_TRUE(program->NoBox());

    // Changes just after a click: in the open folder, while the watching
    // moves on to the clicked folder; and in the folder the click reads.
    ClickFolder(RowOf(folders, L"Week0"), 0);
    MakeFolder(L"E:\\Lessons\\Week4");
    EXPECT_TRUE(WaitUntil([&] { return RowOf(folders, L"Week4") >= 0; }, 2000));
    ClickFolder(kLessons, 1);
    MakeFolder(L"E:\\Lessons\\Week5");
    WriteBytes(L"E:\\Lessons\\just after.lesson", "x");
    EXPECT_TRUE(WaitUntil([&] { return RowOf(folders, L"Week5") >= 0 && RowOf(files, L"just after.lesson") >= 0; }, 2000));

    // The open folder removed and made again: followed from then on.
    ASSERT_TRUE(ChangeOutsideWine(L"rm -r Lessons && mkdir -p Lessons/Again && touch Lessons/again.lesson"));
    EXPECT_TRUE(Shows(folders, {L"E:\\", L"Lessons", L"Again"}));
    EXPECT_TRUE(Shows(files, {L"again.lesson"}));
    WriteBytes(L"E:\\Lessons\\and again.lesson", "x");
    EXPECT_TRUE(Shows(files, {L"again.lesson", L"and again.lesson"}));

    // The open folder removed: the lists show the nearest folder left, and
    // the buttons act on it.
    ASSERT_TRUE(ChangeOutsideWine(L"rm -r Lessons"));
    EXPECT_TRUE(Shows(folders, {L"E:\\", L"Week2 (removed)"}));
    EXPECT_TRUE(Shows(files, {L"a.lesson", L"Verondel.exe", L"Verondel设置.ini"}));
    OpenFolderButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\\""});
    EXPECT_TRUE(program->NoBox());
}

TEST_F(Clicks, AskingToRemoveTheDriveStopsTheWatching) {
    Start();
    ClickFolder(kWeek1, 4);
    HWND folders = program->Dir1(), files = program->File1();
    // Windows asks to remove the drive: the program lets go of its folders,
    // and agrees.
    EXPECT_EQ(program->SendDeviceChange(DBT_DEVICEQUERYREMOVE), TRUE);
    WriteBytes(L"E:\\Lessons\\Week1\\while asked.lesson", "x");
    MakeFolder(L"E:\\Lessons\\Week3");
    // A change the program does not see leaves no trace to wait for, so
    // this waits as long as a change it sees may take to show.
    EXPECT_FALSE(WaitUntil([&] { return Entries(files).size() != 4 || Entries(folders).size() != 6; }, 2000))
        << testing::PrintToString(Entries(files)) << testing::PrintToString(Entries(folders));

    // The removal failed: read and watched again.
    program->SendDeviceChange(DBT_DEVICEQUERYREMOVEFAILED);
    WriteBytes(L"E:\\Lessons\\Week1\\after.lesson", "x");
    EXPECT_TRUE(WaitUntil([&] {
        return RowOf(files, L"after.lesson") >= 0 && RowOf(files, L"while asked.lesson") >= 0;
    }, 2000)) << testing::PrintToString(Entries(files));

    // F5 reads both lists again, watched or not, and watches again.
    program->SendDeviceChange(DBT_DEVICEQUERYREMOVE);
    WriteBytes(L"E:\\Lessons\\Week1\\before F5.lesson", "x");
    PressKey(VK_F5);
    EXPECT_TRUE(WaitUntil([&] {
        return RowOf(folders, L"Week3") >= 0 && RowOf(files, L"before F5.lesson") >= 0;
    }, 2000)) << testing::PrintToString(Entries(files)) << testing::PrintToString(Entries(folders));
    EXPECT_EQ(RowText(folders, Highlighted(folders)), L"Week1");
    WriteBytes(L"E:\\Lessons\\Week1\\after F5.lesson", "x");
    EXPECT_TRUE(WaitUntil([&] { return RowOf(files, L"after F5.lesson") >= 0; }, 2000));

    // The drive was removed, and arrives again: read and watched again.
    program->SendDeviceChange(DBT_DEVICEQUERYREMOVE);
    program->SendDeviceChange(DBT_DEVICEREMOVECOMPLETE);
    WriteBytes(L"E:\\Lessons\\Week1\\while away.lesson", "x");
    program->SendDeviceChange(DBT_DEVICEARRIVAL, L'E');
    EXPECT_TRUE(WaitUntil([&] { return RowOf(files, L"while away.lesson") >= 0; }, 2000));
    WriteBytes(L"E:\\Lessons\\Week1\\back.lesson", "x");
    EXPECT_TRUE(WaitUntil([&] { return RowOf(files, L"back.lesson") >= 0; }, 2000));
}

TEST_F(Clicks, TypingFindsTheFirstNameThatMatches) {
    for (const wchar_t* name : {L"apple", L"banana", L"Berry", L"blueberry", L"练习一", L"练习二"})
        WriteBytes(L"E:\\Lessons\\Week2\\" + std::wstring(name) + L".lesson", "x");
    Start();
    HWND files = program->File1();
    // The folder list has the focus: the folder typed is highlighted and
    // its files listed, as by a click.
    ASSERT_TRUE(BringToFront(program->Window()));
    TypeText(L"week2");
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(program->Dir1()) == kWeek2 && Entries(files).size() == 6; }));

    // In the file list, in any case; what is selected so is what "打开文件" opens.
    ClickFile(L"apple.lesson");
    TypeText(L"ber");
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(files) == RowOf(files, L"Berry.lesson"); }));
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week2\\Berry.lesson")});

    // No name starts so: the first that holds it, as long names share their beginnings.
    ClickFile(L"apple.lesson");
    TypeText(L"RRY");
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(files) == RowOf(files, L"Berry.lesson"); }));

    // A pause starts a new search, from the top of the list, each time.
    // The pauses are what is typed: no state of the program to wait for.
    int first = -1;
    for (int row = 0; first < 0 && row < RowCount(files); ++row)
        if (RowText(files, row).starts_with(L"练")) first = row;
    ASSERT_GE(first, 0);
    ClickFile(L"Berry.lesson");  // the focus back in the file list
    for (int search = 0; search < 2; ++search) {
        Sleep(1500);
        TypeText(L"练");
        EXPECT_TRUE(WaitUntil([&] { return Highlighted(files) == first; })) << Highlighted(files);
    }
    OpenFileButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week2\\" + RowText(files, first))});
}

TEST_F(Clicks, KeyboardActsLikeClicks) {
    Start();
    // Focus starts on the folder list; arrows move the highlight, each a click.
    const auto highlights = [&](int row) { return WaitUntil([&] { return Highlighted(program->Dir1()) == row; }); };
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_TRUE(highlights(kWeek1));
    EXPECT_TRUE(WaitUntil([&] { return Entries(program->File1()).size() == 4; }));
    PressKey(VK_HOME);
    EXPECT_TRUE(highlights(kRoot));
    PressKey(VK_END);
    EXPECT_TRUE(highlights(kWeek2));
    PressKey(VK_TAB);    // "打开文件夹"
    PressKey(VK_SPACE);
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\\Week2\""});
    PressKey(VK_RETURN);
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\\Week2\""});

    PressKey(VK_UP, /*shift=*/false);  // arrows in a button's place move nowhere harmful
    PressKey(VK_TAB, /*shift=*/true);  // back to the folder list
    PressKey(VK_UP);
    PressKey(VK_TAB);
    PressKey(VK_TAB);  // the file list
    PressKey(VK_DOWN);
    PressKey(VK_TAB);  // "打开文件"
    PressKey(VK_RETURN);
    const Names launches = program->TakeLaunches(1);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].find(L"C:\\test\\record.exe"), 1u) << testing::PrintToString(launches[0]);
    EXPECT_TRUE(program->NoBox());
}

}  // namespace

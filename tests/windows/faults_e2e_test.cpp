// Faults the real exe meets in a classroom: a drive pulled while it runs,
// folders renamed behind its back, paths past MAX_PATH, odd names, a folder
// of 100,000 files, a huge or wrong settings file, Explorer missing. After
// each, the program still runs and answers, says what went wrong, and its
// buttons act on what its lists show.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>
#include <dbt.h>

#include "driver.h"
#include "test_drive.h"

namespace {

using Names = std::vector<std::wstring>;
const std::wstring kSettings = L"E:\\Verondel设置.ini";
const std::wstring kExplorer = L"\"C:\\windows\\explorer.exe\" ";
constexpr int kHugeCount = 100000;  // files in E:\huge, made by make_fault_drive.py before Wine starts

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }
std::wstring Opened(const std::wstring& file) { return L"\"C:\\test\\record.exe\" " + Quoted(file); }

// E:\深层\第1层…\第N层…: a folder whose path is over 300 characters long.
std::wstring DeepFolder() {
    std::wstring folder = L"E:\\深层";
    for (int level = 1; folder.size() <= 300; ++level)
        folder += L"\\第" + std::to_wstring(level) + L"层 a folder name long enough to matter";
    return folder;
}

// Pulls drive E: out from under the program, and puts it back as it was,
// through Wine's mount manager as winecfg does: Wine ignores DefineDosDevice
// when it opens files, and refuses to move a folder holding a running program.
class PulledDrive {
public:
    PulledDrive() {
        auto& drive = *reinterpret_cast<UnixDrive*>(saved_);
        drive.size = sizeof drive;
        drive.letter = L'e';
        if (!DeviceIoControl(manager_, kQueryUnixDrive, saved_, sizeof drive, saved_, sizeof saved_, &savedSize_,
                             nullptr))
            return;
        drive.letter = L'e';
        UnixDrive none{};  // no mount point: no drive
        none.size = sizeof none;
        none.letter = L'e';
        DWORD size = 0;
        pulled_ = DeviceIoControl(manager_, kDefineUnixDrive, &none, sizeof none, nullptr, 0, &size, nullptr);
    }
    ~PulledDrive() {
        PutBack();
        CloseHandle(manager_);
    }
    bool Pulled() const { return pulled_ && GetFileAttributesW(L"E:\\") == INVALID_FILE_ATTRIBUTES; }
    void PutBack() {  // as the query described it, mount point included
        DWORD size = 0;
        if (pulled_)
            pulled_ = !DeviceIoControl(manager_, kDefineUnixDrive, saved_, savedSize_, nullptr, 0, &size, nullptr);
    }

private:
    // Wine's own requests to \\.\MountPointManager (its include/ddk/mountmgr.h).
    struct UnixDrive {
        ULONG size, type, fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset, deviceOffset, labelOffset;
    };
    static constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
    static constexpr DWORD kQueryUnixDrive = CTL_CODE('m', 33, METHOD_BUFFERED, FILE_READ_ACCESS);

    HANDLE manager_ = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    alignas(8) char saved_[2048] = {};
    DWORD savedSize_ = 0;
    bool pulled_ = false;
};

struct Faults : ::testing::Test {
    std::unique_ptr<Verondel> program;

    void SetUp() override {
        ClearDrive(L"E:\\huge");
        InstallRecorder(L".lesson");
        WriteBytes(kSettings, "Lessons\r\n");
        WriteBytes(L"E:\\Lessons\\intro.lesson", "x");
        WriteBytes(L"E:\\Lessons\\Week1\\slides.lesson", "x");
        MakeFolder(L"E:\\Lessons\\Week2");
    }
    void Launch() {
        program.reset();
        program = std::make_unique<Verondel>();
    }
    void Start(int timeoutMs = 10000) {
        Launch();
        ASSERT_NE(program->Window(timeoutMs), nullptr);
        ASSERT_TRUE(program->NoBox());
    }
    // Clicks the row showing name. The program may refuse it, so this does
    // not wait for the highlight to move.
    void Click(HWND list, const std::wstring& name) {
        const int row = RowOf(list, name);
        ASSERT_GE(row, 0) << testing::PrintToString(name);
        ClickRow(list, row);
    }
    // Clicks the row showing name and waits until it is highlighted.
    void Select(HWND list, const std::wstring& name) {
        Click(list, name);
        ASSERT_TRUE(WaitUntil([&] { return Highlighted(list) == RowOf(list, name); })) << testing::PrintToString(name);
    }
    // Still running, and its window answers within 5 s.
    testing::AssertionResult Alive() {
        if (!program->IsRunning()) return testing::AssertionFailure() << "the program ended";
        DWORD_PTR answer;
        if (!SendMessageTimeoutW(program->Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer))
            return testing::AssertionFailure() << "the window does not answer";
        return testing::AssertionSuccess();
    }
    // The buttons act on what the lists show: folder is highlighted in the
    // folder list, and "打开文件" opens the file selected in the file list.
    void ExpectButtonsMatchLists(const std::wstring& folder) {
        ASSERT_TRUE(Alive());
        const std::wstring name = folder.size() == 3 ? folder : folder.substr(folder.rfind(L'\\') + 1);
        // After a refused click the program puts the highlight back once its box is closed.
        EXPECT_TRUE(WaitUntil([&] { return Highlighted(program->Dir1()) == RowOf(program->Dir1(), name); }))
            << testing::PrintToString(name) << " is not highlighted";
        ClickButton(program->Command1());
        EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + Quoted(folder)});
        const int file = Highlighted(program->File1());
        ClickButton(program->Command2());
        if (file < 0) {
            program->ExpectBox(L"请先选择文件");
        } else {
            EXPECT_EQ(program->TakeLaunches(1), Names{Opened(folder + (folder.size() == 3 ? L"" : L"\\") +
                                                              RowText(program->File1(), file))});
        }
        EXPECT_TRUE(Alive());
    }
};

TEST_F(Faults, DrivePulledWhileRunning) {
    Start();
    Select(program->Dir1(), L"Week1");
    ASSERT_TRUE(WaitUntil([&] { return Entries(program->File1()) == Names{L"slides.lesson"}; }));
    Select(program->File1(), L"slides.lesson");
    PulledDrive drive;
    ASSERT_TRUE(drive.Pulled());

    Click(program->Dir1(), L"Week2");
    program->ExpectBox(L"无法打开文件夹\nE:\\Lessons\\Week2\n");
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(program->Dir1()) == RowOf(program->Dir1(), L"Week1"); }));
    EXPECT_EQ(Entries(program->File1()), Names{L"slides.lesson"});
    ClickButton(program->Command2());
    program->ExpectBox(L"无法打开文件\nE:\\Lessons\\Week1\\slides.lesson\n");
    ClickButton(program->Command1());  // the folder went with the drive: no Explorer on nothing
    program->ExpectBox(L"无法打开文件夹\nE:\\Lessons\\Week1\n");
    EXPECT_EQ(LaunchesRecorded(), 0u);
    EXPECT_TRUE(Alive());

    drive.PutBack();  // nothing was forgotten while it was out
    ExpectButtonsMatchLists(L"E:\\Lessons\\Week1");
}

TEST_F(Faults, FolderRenamedAfterItWasListed) {
    const struct {
        const wchar_t *renamed, *clicked, *gone;
        bool currentFolderGone;
    } cases[] = {
        {L"E:\\Lessons\\Week2", L"Week2", L"E:\\Lessons\\Week2", false},
        {L"E:\\Lessons", L"Week1", L"E:\\Lessons\\Week1", true},  // the open folder itself
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.renamed)));
        program.reset();
        SetUp();
        Start();
        // Unheard of, as while Windows asks to remove the drive: the lists
        // still show the folder, and a click on it is refused in words.
        program->SendDeviceChange(DBT_DEVICEQUERYREMOVE);
        ASSERT_TRUE(MoveFileW(c.renamed, (std::wstring(c.renamed) + L" (old)").c_str()));
        Click(program->Dir1(), c.clicked);
        program->ExpectBox(L"无法打开文件夹\n" + std::wstring(c.gone) + L"\n");
        EXPECT_EQ(Entries(program->File1()), Names{L"intro.lesson"});
        if (!c.currentFolderGone) {
            ExpectButtonsMatchLists(L"E:\\Lessons");
            continue;
        }
        // "打开文件夹" says the folder has gone, and starts no Explorer on nothing.
        ClickButton(program->Command1());
        program->ExpectBox(L"无法打开文件夹\nE:\\Lessons\n");
        EXPECT_EQ(LaunchesRecorded(), 0u);
        EXPECT_TRUE(Alive());
    }
}

TEST_F(Faults, FolderPastMaxPath) {
    const std::wstring deep = DeepFolder(), file = deep + L"\\深处的课件.lesson";
    WriteBytes(L"\\\\?\\" + file, "x");
    WriteBytes(kSettings, Gbk(deep.substr(3)));
    Start();
    const size_t rows = 2 + std::count(deep.begin() + 3, deep.end(), L'\\');  // E:\, then each folder down
    EXPECT_EQ(Entries(program->Dir1()).size(), rows);
    EXPECT_EQ(Highlighted(program->Dir1()), static_cast<int>(rows) - 1);
    EXPECT_EQ(Entries(program->File1()), Names{L"深处的课件.lesson"});

    Click(program->File1(), L"深处的课件.lesson");
    ClickButton(program->Command2());  // opened in full, or refused in words: never cut short or silent
    ASSERT_TRUE(WaitUntil([&] { return program->WaitForBox(0).handle || LaunchesRecorded() > 0; }));
    if (program->WaitForBox(0).handle) {
        program->ExpectBox(L"无法打开文件\n" + file + L"\n");
        EXPECT_TRUE(program->NothingLaunched());
    } else {
        EXPECT_EQ(program->TakeLaunches(1), Names{Opened(file)});
    }
    ClickButton(program->Command1());
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + Quoted(deep)});
    EXPECT_TRUE(Alive());
}

TEST_F(Faults, OddNamesArriveVerbatim) {
    const std::wstring odd[] = {L"  two leading spaces", L"v1.2..final...notes", L"100% & ^caret! it's, ok",
                                L"%1 and 50%", L"Cafe\u0301 e\u0301te\u0301",
                                L"lesson\u202Efdp.exe"};  // shown with a marker, listed and opened as it is
    for (const auto& name : odd) {
        MakeFolder(L"E:\\Lessons\\" + name);
        WriteBytes(L"E:\\Lessons\\" + name + L".lesson", "x");
    }
    Start();
    for (const auto& name : odd) {
        SCOPED_TRACE(testing::PrintToString(name));
        Click(program->File1(), name + L".lesson");
        ClickButton(program->Command2());
        EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\" + name + L".lesson")});
    }
    for (const auto& name : odd) {
        SCOPED_TRACE(testing::PrintToString(name));
        Click(program->Dir1(), name);
        ClickButton(program->Command1());
        EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + Quoted(L"E:\\Lessons\\" + name)});
    }
    EXPECT_TRUE(program->NoBox());
    EXPECT_TRUE(Alive());
}

// Names ending in a space, as macOS and Linux write them: listed and browsed
// as they are, never taken for the name without it; the shell cannot open
// them, and the program says so.
TEST_F(Faults, NameEndingInASpaceBesideTheSameWithout) {
    WriteBytes(L"\\\\?\\E:\\Lessons\\Week 1 \\trailing.lesson", "x");
    WriteBytes(L"\\\\?\\E:\\Lessons\\Week 1\\plain.lesson", "x");
    Start();
    Select(program->Dir1(), L"Week 1 ");
    ASSERT_TRUE(WaitUntil([&] { return Entries(program->File1()) == Names{L"trailing.lesson"}; }))
        << testing::PrintToString(Entries(program->File1()));
    Select(program->File1(), L"trailing.lesson");
    ClickButton(program->Command2());
    program->ExpectBox(L"无法打开文件\nE:\\Lessons\\Week 1 \\trailing.lesson\n");
    ClickButton(program->Command1());
    program->ExpectBox(L"无法打开文件夹\nE:\\Lessons\\Week 1 \n");

    Select(program->Dir1(), L"Week 1");
    ASSERT_TRUE(WaitUntil([&] { return Entries(program->File1()) == Names{L"plain.lesson"}; }))
        << testing::PrintToString(Entries(program->File1()));
    Select(program->File1(), L"plain.lesson");
    ExpectButtonsMatchLists(L"E:\\Lessons\\Week 1");  // its launches the only ones
}

// "%1" in the name of a file that fails to open: one box naming the file,
// its reason filled in once, and the program goes on.
TEST_F(Faults, PercentOneInTheNameOfAFileThatFails) {
    const std::wstring name = L"%1 notes.exe";  // empty: no program
    WriteBytes(L"E:\\Lessons\\" + name, "");
    Start();
    Select(program->File1(), name);
    ClickButton(program->Command2());
    const Box box = program->WaitForBox();
    ASSERT_NE(box.handle, nullptr);
    program->Close(box);
    EXPECT_EQ(box.title, L"提示");
    const std::wstring start = L"无法打开文件\nE:\\Lessons\\" + name + L"\n";
    ASSERT_EQ(box.text.substr(0, start.size()), start) << testing::PrintToString(box.text);
    std::wstring reason = box.text.substr(start.size());
    EXPECT_FALSE(reason.empty());
    for (size_t at; (at = reason.find(name)) != std::wstring::npos;) reason.erase(at, name.size());
    EXPECT_EQ(reason.find(L"%1"), std::wstring::npos) << testing::PrintToString(box.text);
    EXPECT_TRUE(program->NoBox());
    EXPECT_TRUE(Alive());
    Select(program->File1(), L"intro.lesson");
    ExpectButtonsMatchLists(L"E:\\Lessons");
}

TEST_F(Faults, FolderOfAHundredThousandFiles) {
    WriteBytes(kSettings, "");  // the program folder, E:\, so huge is a row
    Start();
    Click(program->Dir1(), L"huge");  // how fast: ./dev bench, "100,000 files listed"
    ASSERT_TRUE(WaitUntil([&] { return RowCount(program->File1()) == kHugeCount; }, 20000))
        << RowCount(program->File1());
    EXPECT_TRUE(Alive());

    HWND files = program->File1();
    ClickRow(files, 0);
    PressKey(VK_END);
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(files) == kHugeCount - 1; })) << Highlighted(files);
    const std::wstring last = L"E:\\huge\\" + RowText(files, kHugeCount - 1);
    EXPECT_NE(GetFileAttributesW(last.c_str()), INVALID_FILE_ATTRIBUTES) << testing::PrintToString(last);
    ClickButton(program->Command2());
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(last)});

    SendMessageW(files, LB_SETTOPINDEX, kHugeCount / 2, 0);  // scrolled halfway, a click opens that row
    ClickRow(files, kHugeCount / 2 + 3);
    EXPECT_TRUE(WaitUntil([&] { return Highlighted(files) == kHugeCount / 2 + 3; })) << Highlighted(files);
    ExpectButtonsMatchLists(L"E:\\huge");
}

TEST_F(Faults, FiftyMegabyteSettingsFile) {
    const std::string line = Gbk(L"旧的课程目录, 第一周\\课件 0123456789 abcdefghijklmnopqrstuvwxyz");
    std::string settings;
    const char* breaks[] = {"\r\n", "\n", "\r"};  // of every kind
    for (int i = 0; settings.size() < (50u << 20); ++i) settings += line + breaks[i % 3];
    WriteBytes(kSettings, settings + "Lessons");
    const ULONGLONG started = GetTickCount64();
    Start(20000);
    EXPECT_LT(GetTickCount64() - started, 20000u);
    ExpectButtonsMatchLists(L"E:\\Lessons");
}

TEST_F(Faults, SettingsValues) {
    const std::wstring deep = DeepFolder();
    std::wstring missing;
    while (missing.size() < 300) missing += L"没有这个文件夹 missing\\";
    MakeFolder(L"\\\\?\\" + deep);
    const struct {
        std::wstring value;
        std::wstring opens;       // the folder the window opens on
        std::wstring secondBox;   // after "设置错误": how the second box starts
    } cases[] = {
        {L"..", L"E:\\", L""},
        {L"Lessons\\..\\Lessons\\Week1", L"E:\\Lessons\\Week1", L""},
        {deep.substr(3), deep, L""},
        {L"C:\\windows", L"E:\\", L"E:\\C:\\windows"},  // always below the program folder
        {missing, L"E:\\", L"E:\\没有这个文件夹 missing\\没有这个文件夹"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.value.substr(0, 40)));
        WriteBytes(kSettings, Gbk(c.value) + "\r\n");
        Launch();
        if (!c.secondBox.empty()) {
            program->ExpectBox(L"设置错误");
            const Box second = program->WaitForBox();
            EXPECT_EQ(second.title, L"Verondel");
            EXPECT_EQ(second.text.substr(0, c.secondBox.size()), c.secondBox);
            program->Close(second);
        }
        ASSERT_NE(program->Window(), nullptr);
        EXPECT_TRUE(program->NoBox());
        ExpectButtonsMatchLists(c.opens);
    }
}

TEST_F(Faults, ExplorerMissing) {
    Start();
    ASSERT_TRUE(DeleteFileW(L"C:\\windows\\explorer.exe"));
    DeleteFileW(L"C:\\windows\\syswow64\\explorer.exe");
    ClickButton(program->Command1());
    program->ExpectBox(L"无法打开文件夹\nE:\\Lessons\n");
    Select(program->Dir1(), L"Week1");  // the rest still works
    ASSERT_TRUE(WaitUntil([&] { return Entries(program->File1()) == Names{L"slides.lesson"}; }));
    Click(program->File1(), L"slides.lesson");
    ClickButton(program->Command2());
    // Exactly this launch: the refused "打开文件夹" launched nothing either.
    EXPECT_EQ(program->TakeLaunches(1), Names{Opened(L"E:\\Lessons\\Week1\\slides.lesson")});
    EXPECT_TRUE(Alive());
}

}  // namespace

// Clicks, keys and launches in the real exe, observed from outside: the
// lists' entries, message boxes, and what the recorder saw launched.
#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>

#include "driver.h"
#include "test_drive.h"

namespace {

using Names = std::vector<std::wstring>;
const std::wstring kExplorer = L"\"C:\\windows\\explorer.exe\" ";

std::wstring Opened(const std::wstring& file) { return L"\"C:\\test\\record.exe\" \"" + file + L"\""; }

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
    void Start() {
        program = std::make_unique<Verondel>();
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
    OpenFolderButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\\Week1\""});
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

TEST_F(Clicks, FolderRemovedAfterItWasListedChangesNothing) {
    Start();
    ClickFolder(kWeek1, 4);
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

TEST_F(Clicks, DoubleClickAndEnterOpenAFolder) {
    Start();
    ClickRow(program->Dir1(), kWeek1, /*doubleClick=*/true);
    EXPECT_TRUE(WaitUntil([&] { return Entries(program->Dir1()) == Names{L"E:\\", L"Lessons", L"Week1"}; }));
    OpenFolderButton();
    EXPECT_EQ(program->TakeLaunches(1), Names{kExplorer + L"\"E:\\Lessons\\Week1\""});

    ClickRow(program->Dir1(), 1);  // Lessons, then Enter opens it
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return Entries(program->Dir1()).size() == 6; }));
    EXPECT_EQ(Highlighted(program->Dir1()), kLessons);
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

#include <gtest/gtest.h>

#include "fakes.h"
#include "form1.h"
#include "settings_reader.h"

namespace {

const std::wstring kSettings = L"E:\\Verondel设置.ini";
const Message kMissing{L"Verondel设置.ini不存在", L"提示"};
const Message kSettingsError{L"设置错误", L"提示"};

// A drive E: with the program at its root, started from C:\Users\T.
struct Drive {
    FakeDisk disk;
    FakeRunTime app{disk};
    FakeFolderList dir1{disk, L"C:\\Users\\T"};
    FakeFileList file1{disk};
    FakeFolderWatch watch{disk};
    Form1 form{app, dir1, file1, watch};

    Drive() {
        disk.AddFolder(L"E:\\Lessons\\Week1");
        disk.AddFolder(L"E:\\Week1");
        disk.AddFolder(L"E:\\课程\\第一周");
        disk.AddFolder(L"C:\\Users\\T");
        disk.AddFile(L"E:\\readme.txt");
    }
    void Settings(std::string bytes) { disk.AddFile(kSettings, std::move(bytes)); }
    void Load() { form.Form_Load(); }
    // Where the lists ended up, and CurrentFolder with them.
    void ExpectOpenedOn(const std::wstring& folder) {
        EXPECT_EQ(dir1.Path(), folder);
        EXPECT_EQ(file1.Path(), folder);
        EXPECT_EQ(form.State().CurrentFolder, folder);
        EXPECT_EQ(form.State().SelectedFile, L"");
    }
};

struct Start : Drive, ::testing::Test {};

TEST_F(Start, OpensTheFolderTheSettingsName) {
    const struct {
        std::string bytes;
        std::wstring folder;
        std::wstring target;  // TargetFolder, when it differs from the folder opened
    } cases[] = {
        {"Lessons", L"E:\\Lessons", L""},
        {"Lessons\r\n", L"E:\\Lessons", L""},
        {"Lessons\\", L"E:\\Lessons", L"E:\\Lessons\\"},  // used unchanged, opens normally
        {"Lessons,Week1", L"E:\\Week1", L""},               // only the last item counts
        {"Lessons\\Week1", L"E:\\Lessons\\Week1", L""},
        {"Week1\r\nLessons", L"E:\\Lessons", L""},
        {Gbk(L"课程\\第一周"), L"E:\\课程\\第一周", L""},    // ANSI code page text
        {"\xEF\xBB\xBF" "Lessons", L"E:\\Lessons", L""},   // marks are never part of the value
        {"\xEF\xBB\xBF\xE8\xAF\xBE\xE7\xA8\x8B", L"E:\\课程", L""},
        {std::string("\xFF\xFE" "L\0e\0s\0s\0o\0n\0s\0\r\0\n\0", 18), L"E:\\Lessons", L""},
        {std::string("\xFF\xFE\xFE\x8B\x0B\x7A", 6), L"E:\\课程", L""},
        {std::string("\xFE\xFF\x8B\xFE\x7A\x0B\0\r\0\n", 10), L"E:\\课程", L""},  // big-endian
        {std::string("\xFE\xFF\0W\0e\0e\0k\0001", 12), L"E:\\Week1", L""},
    };
    for (const auto& c : cases) {
        Drive start;
        start.Settings(c.bytes);
        start.Load();
        SCOPED_TRACE(c.bytes);
        EXPECT_TRUE(start.app.messages.empty());
        start.ExpectOpenedOn(c.folder);
        EXPECT_EQ(start.form.State().TargetFolder, c.target.empty() ? c.folder : c.target);
    }
}

TEST_F(Start, JoinsTheValueToTheProgramFolder) {
    FakeDisk tools;
    tools.AddFolder(L"D:\\Tools\\Lessons");
    tools.AddFile(L"D:\\Tools\\Verondel设置.ini", "Lessons\r\n");
    FakeRunTime toolsApp(tools, L"D:\\Tools");
    FakeFolderList toolsDir(tools, L"D:\\Tools");
    FakeFileList toolsFiles(tools);
    FakeFolderWatch toolsWatch(tools);
    Form1 toolsForm(toolsApp, toolsDir, toolsFiles, toolsWatch);
    toolsForm.Form_Load();
    EXPECT_EQ(toolsForm.State().SettingsPath, L"D:\\Tools\\Verondel设置.ini");
    EXPECT_EQ(toolsForm.State().TargetFolder, L"D:\\Tools\\Lessons");
    EXPECT_EQ(toolsForm.State().CurrentFolder, L"D:\\Tools\\Lessons");

    // A value starting with a backslash is still relative to the program folder.
    tools.AddFile(L"D:\\Tools\\Verondel设置.ini", "\\Lessons\r\n");
    Form1 rootedForm(toolsApp, toolsDir, toolsFiles, toolsWatch);
    rootedForm.Form_Load();
    EXPECT_EQ(rootedForm.State().TargetFolder, L"D:\\Tools\\\\Lessons");
    EXPECT_EQ(rootedForm.State().CurrentFolder, L"D:\\Tools\\Lessons");
    EXPECT_TRUE(toolsApp.messages.empty());

    // At a drive root the settings path keeps its doubled backslash.
    Settings("Lessons");
    Load();
    EXPECT_EQ(form.State().SettingsPath, L"E:\\\\Verondel设置.ini");
}

TEST_F(Start, NoUsableValueOpensTheProgramFolderSilently) {
    for (std::string bytes : {"", "Lessons\r\n\r\n", "\r\n", "   ", "\x1A", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        Drive start;
        start.Settings(bytes);
        start.Load();
        SCOPED_TRACE(bytes);
        EXPECT_TRUE(start.app.messages.empty());
        EXPECT_EQ(start.form.State().TargetFolder, L"E:\\");
        start.ExpectOpenedOn(L"E:\\");
    }
}

TEST_F(Start, MissingSettingsFileIsReportedThenTheProgramFolderOpens) {
    Load();
    EXPECT_EQ(app.messages, std::vector<Message>{kMissing});
    EXPECT_EQ(form.State().TargetFolder, L"E:\\");
    ExpectOpenedOn(L"E:\\");

    // A hidden settings file counts as missing.
    Drive hidden;
    hidden.Settings("Lessons");
    hidden.disk.hiddenFiles.insert(kSettings);
    hidden.Load();
    EXPECT_EQ(hidden.app.messages, std::vector<Message>{kMissing});
}

TEST_F(Start, UnreadableSettingsFileIsReadAsEmpty) {
    Settings("Lessons");
    disk.unreadable.insert(kSettings);
    Load();
    EXPECT_EQ(app.messages, (std::vector<Message>{{L"Verondel设置.ini无法读取", L"提示"}}));
    ExpectOpenedOn(L"E:\\");
}

TEST_F(Start, ValueThatNamesNoFolderGivesTwoBoxesAndTheInitialFolder) {
    const struct {
        std::string bytes;
        std::wstring target;
    } cases[] = {
        {"Missing", L"E:\\Missing"},
        {"readme.txt", L"E:\\readme.txt"},         // a file is no folder
        {"Less*", L"E:\\Less*"},
        {"C:\\Users\\T", L"E:\\C:\\Users\\T"},     // absolute values are appended too
        {"01", L"E:\\01"},                         // taken as written, not as a number
        {"#TRUE#", L"E:\\#TRUE#"},
        {std::string("Less\0ons", 8), std::wstring(L"E:\\Less\0ons", 11)},
        // Longer than any path: an error even where such a folder exists, and
        // only the beginning is kept to show.
        {std::string(40000, 'x'), L"E:\\" + std::wstring(kLongestPath + 1, L'x')},
    };
    for (const auto& c : cases) {
        Drive start;
        start.disk.AddFolder(L"E:\\" + std::wstring(kLongestPath + 1, L'x'));
        start.Settings(c.bytes);
        start.Load();
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(start.app.messages, (std::vector<Message>{kSettingsError, {c.target, L"Verondel"}}));
        EXPECT_EQ(start.form.State().TargetFolder, c.target);
        start.ExpectOpenedOn(L"C:\\Users\\T");
    }
}

// Unless a virus hid it: a program of its name stands beside it.
TEST_F(Start, HiddenTargetCountsAsMissing) {
    disk.hiddenFolders.insert(L"E:\\Lessons");
    Settings("Lessons");
    Load();
    EXPECT_EQ(app.messages, (std::vector<Message>{kSettingsError, {L"E:\\Lessons", L"Verondel"}}));

    Drive infected;
    infected.disk.AddFolder(L"E:\\Lessons");
    infected.disk.hiddenFolders.insert(L"E:\\Lessons");
    infected.disk.AddFile(L"E:\\Lessons.exe");
    infected.Settings("Lessons");
    infected.Load();
    EXPECT_TRUE(infected.app.messages.empty());
    infected.ExpectOpenedOn(L"E:\\Lessons");
}

TEST_F(Start, FoldersNamedLikeNumbersOpenAsWritten) {
    disk.AddFolder(L"E:\\01");
    disk.AddFolder(L"E:\\1.50");
    for (const char* name : {"01", "1.50"}) {
        Drive start;
        start.disk.AddFolder(L"E:\\01");
        start.disk.AddFolder(L"E:\\1.50");
        start.Settings(name);
        start.Load();
        EXPECT_TRUE(start.app.messages.empty());
        start.ExpectOpenedOn(L"E:\\" + std::wstring(name, name + strlen(name)));
    }
}

TEST_F(Start, Utf8WithoutMarkIsTriedWhenTheAnsiReadingNamesNoFolder) {
    Settings("\xE8\xAF\xBE\xE7\xA8\x8B\r\n");  // 课程 saved as UTF-8 by a modern editor
    Load();
    EXPECT_TRUE(app.messages.empty());
    ExpectOpenedOn(L"E:\\课程");

    // When neither reading names a folder, the box shows the ANSI reading.
    Drive garbled;
    garbled.Settings("\xE4\xB8\x8D\xE5\xAD\x98");  // 不存 as UTF-8, no such folder
    garbled.Load();
    ASSERT_EQ(garbled.app.messages.size(), 2u);
    EXPECT_EQ(garbled.app.messages[1].prompt, L"E:\\" + ConvertToWide("\xE4\xB8\x8D\xE5\xAD\x98", "GBK"));
}

TEST_F(Start, AnsiReadingWinsWhenBothNameFolders) {
    const std::string bytes = "\xE8\xAF\xBE\xE7\xA8\x8B";
    disk.AddFolder(L"E:\\" + ConvertToWide(bytes, "GBK"));
    Settings(bytes);
    Load();
    ExpectOpenedOn(L"E:\\" + ConvertToWide(bytes, "GBK"));
}

TEST_F(Start, FolderThatCannotBeListedFallsBackInOrder) {
    Settings("Lessons");
    disk.unlistable.insert(L"E:\\Lessons");
    Load();
    ASSERT_EQ(app.messages.size(), 1u);
    EXPECT_EQ(app.messages[0].title, L"提示");
    EXPECT_TRUE(app.messages[0].prompt.starts_with(L"无法打开文件夹\nE:\\Lessons\n"));
    ExpectOpenedOn(L"C:\\Users\\T");

    // The initial folder cannot be listed either: the program folder opens.
    Drive both;
    both.Settings("Lessons");
    both.disk.unlistable.insert(L"E:\\Lessons");
    both.disk.unlistable.insert(L"C:\\Users\\T");
    both.Load();
    EXPECT_EQ(both.app.messages.size(), 1u);
    both.ExpectOpenedOn(L"E:\\");

    // After a settings error, the initial folder is tried, then the program folder.
    Drive error;
    error.Settings("Missing");
    error.disk.unlistable.insert(L"C:\\Users\\T");
    error.Load();
    EXPECT_EQ(error.app.messages.size(), 2u);
    error.ExpectOpenedOn(L"E:\\");
}

}  // namespace

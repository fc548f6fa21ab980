// Start-up of the real exe at the root of drive E:, under code page 936.
#include <gtest/gtest.h>

#include "driver.h"
#include "test_drive.h"

namespace {

using Names = std::vector<std::wstring>;
const std::wstring kSettings = L"E:\\Verondel设置.ini";

struct Startup : ::testing::Test {
    void SetUp() override {
        ClearDrive();
        MakeFolder(L"E:\\Lessons\\Week1");
        MakeFolder(L"E:\\Lessons\\Week2");
        MakeFolder(L"E:\\课程\\第一周");
        MakeFolder(L"E:\\Other");
        WriteBytes(L"E:\\Lessons\\notes.txt", "x");
        WriteBytes(L"E:\\课程\\第一周\\课件.ppt", "x");
        WriteBytes(L"E:\\readme.txt", "x");
    }
    // The program's first message box, closed; the window is not up yet.
    void ExpectFirstBox(Verondel& program, const std::wstring& text) {
        ASSERT_NE(program.WaitForBox().handle, nullptr) << "no message box: " << program.State();
        EXPECT_EQ(program.Window(0), nullptr) << "the window shows only after start-up";
        program.ExpectBox(text);
    }
};

TEST_F(Startup, OpensTheConfiguredFolder) {
    const struct {
        std::string settings;
        Names folders;
        int openRow;  // the highlighted row: the open folder
        Names files;
    } cases[] = {
        {"Lessons\r\n", {L"E:\\", L"Lessons", L"Week1", L"Week2"}, 1, {L"notes.txt"}},
        {Gbk(L"课程\\第一周\r\n"), {L"E:\\", L"课程", L"第一周"}, 2, {L"课件.ppt"}},
        // saved as UTF-8 without a mark
        {"\xE8\xAF\xBE\xE7\xA8\x8B\\\xE7\xAC\xAC\xE4\xB8\x80\xE5\x91\xA8", {L"E:\\", L"课程", L"第一周"}, 2, {L"课件.ppt"}},
        {"", {L"E:\\", L"Lessons", L"Other", L"课程"}, 0, {L"readme.txt", L"Verondel.exe", L"Verondel设置.ini"}},
    };
    for (const auto& c : cases) {
        WriteBytes(kSettings, c.settings);
        Verondel program;
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_TRUE(program.NoBox());
        EXPECT_EQ(Entries(program.Dir1()), c.folders);
        EXPECT_EQ(Highlighted(program.Dir1()), c.openRow);
        EXPECT_EQ(Entries(program.File1()), c.files);
    }
}

TEST_F(Startup, MissingSettingsFile) {
    Verondel program(L"E:\\Other");
    ExpectFirstBox(program, L"Verondel设置.ini不存在");
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_TRUE(program.NoBox());  // the program folder passes the folder test
    EXPECT_EQ(Entries(program.Dir1()), (Names{L"E:\\", L"Lessons", L"Other", L"课程"}));
}

TEST_F(Startup, ValueThatNamesNoFolder) {
    for (const char* value : {"Missing", "readme.txt", "Less*"}) {
        WriteBytes(kSettings, value);
        Verondel program(L"E:\\Other");
        ExpectFirstBox(program, L"设置错误");
        program.ExpectBox(L"E:\\" + std::wstring(value, value + strlen(value)), L"Verondel");
        ASSERT_NE(program.Window(), nullptr) << value;
        EXPECT_EQ(Entries(program.Dir1()), (Names{L"E:\\", L"Other"})) << "the folder it was started in";
        EXPECT_TRUE(program.IsRunning());
    }
}

TEST_F(Startup, SettingsFileThatCannotBeRead) {
    WriteBytes(kSettings, "Lessons");
    // Another program holds the file open with no sharing at all.
    HANDLE locked = CreateFileW(kSettings.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    Verondel program(L"E:\\Other");
    ExpectFirstBox(program, L"Verondel设置.ini无法读取");
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_TRUE(program.NoBox());  // read as empty: the program folder opens
    EXPECT_EQ(Entries(program.Dir1()), (Names{L"E:\\", L"Lessons", L"Other", L"课程"}));
    CloseHandle(locked);
}

}  // namespace

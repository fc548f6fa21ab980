#include <gtest/gtest.h>

#include "hardening.h"
#include "paths.h"
#include "runtime_win32.h"
#include "system_text.h"
#include "test_drive.h"

namespace {

struct RunTimeOnDisk : ::testing::Test {
    Win32RunTime run;
    void SetUp() override {
        ASSERT_EQ(GetACP(), 936u) << "the tests expect a Chinese system's code page";
        ClearDrive();
        MakeFolder(L"E:\\Lessons\\Week1");
        MakeFolder(L"E:\\课程");
        MakeFolder(L"E:\\日本語の授業 😀");
        SetFileAttributesW(MakeFolder(L"E:\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        MakeFolder(L"E:\\.dotted");  // Wine shows names with a leading dot as hidden
        MakeFolder(L"\\\\?\\E:\\Week 2 ");  // as macOS and Linux write names
        WriteBytes(L"E:\\readme.txt", "text");
    }
};

TEST_F(RunTimeOnDisk, FolderTest) {
    const struct {
        std::wstring path;
        bool isFolder;
    } cases[] = {
        {L"E:\\", true},                  // a drive root always counts
        {L"E:\\Lessons", true},
        {L"E:\\Lessons\\", true},
        {L"E:\\Lessons\\Week1\\..", true},
        {L"E:\\lessons", true},            // names are case-insensitive
        {L"E:\\课程", true},
        {L"E:\\日本語の授業 😀", true},
        {L"E:\\Missing", false},
        {L"E:\\readme.txt", false},        // a file is no folder
        {L"E:\\Less*", false},             // nor is a pattern that matches one
        {L"E:\\Lesson?", false},
        {L"E:\\Hidden", false},
        {L"E:\\.dotted", false},
        {L"E:\\C:\\Lessons", false},       // an absolute value appended to the program folder
        {L"E:\\Lessons:stream", false},
        {std::wstring(L"E:\\Lessons\0junk", 15), false},
        {L"E:\\Lessons\r\n", false},
        {L"E:\\Week 2 ", true},          // names are taken as they are:
        {L"E:\\Lessons\\Week1 ", false},  // never the sibling without the space
        {L"E:\\Lessons\\Week1.", false},
    };
    for (const auto& c : cases) EXPECT_EQ(run.IsVisibleFolder(c.path), c.isFolder) << testing::PrintToString(c.path);
}

TEST_F(RunTimeOnDisk, LongPathsWork) {
    std::wstring deep = L"E:";
    while (deep.size() < 300) deep += L"\\第一层文件夹的名字很长";
    MakeFolder(deep);
    WriteBytes(deep + L"\\Verondel设置.ini", "Lessons");
    EXPECT_TRUE(run.IsVisibleFolder(deep));
    EXPECT_TRUE(run.IsVisibleFile(deep + L"\\Verondel设置.ini"));
    std::string bytes;
    EXPECT_TRUE(run.ReadSettingsFile(deep + L"\\Verondel设置.ini", bytes).ok);
    EXPECT_EQ(bytes, "Lessons");
}

TEST_F(RunTimeOnDisk, FileTestAndReading) {
    using namespace std::string_literals;
    const std::string content = "\xBF\xCE\xB3\xCC\0\r\n"s;
    WriteBytes(L"E:\\Verondel设置.ini", content);
    // At a drive root the settings path has two backslashes in a row.
    EXPECT_TRUE(run.IsVisibleFile(L"E:\\\\Verondel设置.ini"));
    std::string bytes;
    ASSERT_TRUE(run.ReadSettingsFile(L"E:\\\\Verondel设置.ini", bytes).ok);
    EXPECT_EQ(bytes, content);

    WriteBytes(L"E:\\hidden.ini", "x");
    SetFileAttributesW(L"E:\\hidden.ini", FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(L"E:\\system.ini", "x");
    SetFileAttributesW(L"E:\\system.ini", FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(run.IsVisibleFile(L"E:\\hidden.ini"));
    EXPECT_FALSE(run.IsVisibleFile(L"E:\\system.ini"));
    EXPECT_FALSE(run.IsVisibleFile(L"E:\\Lessons"));
    EXPECT_FALSE(run.IsVisibleFile(L"E:\\missing.ini"));

    const Result missing = run.ReadSettingsFile(L"E:\\missing.ini", bytes);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_EQ(missing.reason.find(L'\n'), std::wstring::npos);
}

TEST_F(RunTimeOnDisk, DecodesEachEncoding) {
    EXPECT_EQ(run.Decode("\xBF\xCE\xB3\xCC\\\xB5\xDA\xD2\xBB\xD6\xDC", TextEncoding::Ansi), L"课程\\第一周");
    EXPECT_EQ(run.Decode("\xE8\xAF\xBE\xE7\xA8\x8B", TextEncoding::Utf8), L"课程");
    EXPECT_EQ(run.Decode(std::string("\xFE\x8B\x0B\x7A\x3D\xD8\x00\xDE", 8), TextEncoding::Utf16LE), L"课程😀");
    EXPECT_EQ(run.Decode(std::string("\x8B\xFE\x7A\x0B\xD8\x3D\xDE\x00", 8), TextEncoding::Utf16BE), L"课程😀");
    EXPECT_EQ(run.Decode("", TextEncoding::Ansi), L"");
}

TEST(RunTime, ReasonsAreOneReadableLine) {
    const std::wstring badFormat = SystemReason(ERROR_BAD_EXE_FORMAT, L"练习.doc");
    EXPECT_NE(badFormat.find(L"练习.doc"), std::wstring::npos) << "the subject stands for %1";
    EXPECT_EQ(badFormat.find(L"%1"), std::wstring::npos);
    // A subject that holds "%1" itself stands there once, and that is all.
    const std::wstring odd = SystemReason(ERROR_BAD_EXE_FORMAT, L"%1 notes.exe");
    EXPECT_EQ(odd.find(L"%1 notes.exe"), odd.rfind(L"%1 notes.exe"));
    EXPECT_NE(odd.find(L"%1 notes.exe"), std::wstring::npos);
    for (DWORD error : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_NO_ASSOCIATION}, DWORD{123456789}}) {
        const std::wstring reason = SystemReason(error);
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(reason.find_first_of(L"\r\n"), std::wstring::npos);
    }
}

// A DLL anyone could have put on the drive beside the program must not load
// in its place when something asks for it by its bare name.
TEST(RunTime, HardenedProcessRefusesADllBesideTheProgram) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring planted = exe;
    planted.replace(planted.find_last_of(L'\\') + 1, std::wstring::npos, L"planted.dll");
    ASSERT_NE(GetFileAttributesW(planted.c_str()), INVALID_FILE_ATTRIBUTES) << "the build puts planted.dll there";

    HardenProcess();
    HMODULE byName = LoadLibraryW(L"planted.dll");
    EXPECT_EQ(byName, nullptr) << "planted.dll loaded from the program's folder";
    HMODULE byPath = LoadLibraryW(planted.c_str());  // it is a DLL that loads when asked for by its place
    EXPECT_NE(byPath, nullptr);
    if (byName) FreeLibrary(byName);
    if (byPath) FreeLibrary(byPath);
}

// Paths are made plain without losing a name: a trailing dot or space is
// part of a name written on macOS or Linux, not something to drop.
TEST(Paths, EveryNameIsKeptAsItIs) {
    const struct {
        std::wstring path, full, forFileApi;
        bool shellAltersIt;
    } cases[] = {
        {L"E:\\Lessons", L"E:\\Lessons", L"\\\\?\\E:\\Lessons", false},
        {L"E:\\\\Lessons\\Week1\\", L"E:\\Lessons\\Week1", L"\\\\?\\E:\\Lessons\\Week1", false},
        {L"E:/Lessons/./Week1", L"E:\\Lessons\\Week1", L"\\\\?\\E:\\Lessons\\Week1", false},
        {L"E:\\Lessons\\..\\..\\..\\Top", L"E:\\Top", L"\\\\?\\E:\\Top", false},
        {L"E:", L"E:\\", L"\\\\?\\E:\\", false},
        {L"E:\\Week 1 ", L"E:\\Week 1 ", L"\\\\?\\E:\\Week 1 ", true},
        {L"E:\\Week 1 \\a.doc", L"E:\\Week 1 \\a.doc", L"\\\\?\\E:\\Week 1 \\a.doc", true},
        {L"E:\\notes.", L"E:\\notes.", L"\\\\?\\E:\\notes.", true},
        {L"\\\\?\\E:\\a ", L"E:\\a ", L"\\\\?\\E:\\a ", true},
        {L"\\\\server\\share\\", L"\\\\server\\share", L"\\\\?\\UNC\\server\\share", false},
        {L"\\\\server\\share\\a\\..\\b", L"\\\\server\\share\\b", L"\\\\?\\UNC\\server\\share\\b", false},
        // Names the shell may read as a device, kept as they are and refused.
        {L"E:\\con", L"E:\\con", L"\\\\?\\E:\\con", true},
        {L"E:\\Nul.txt", L"E:\\Nul.txt", L"\\\\?\\E:\\Nul.txt", true},
        {L"E:\\aux .doc", L"E:\\aux .doc", L"\\\\?\\E:\\aux .doc", true},
        {L"E:\\LPT\u00B3\\a.doc", L"E:\\LPT\u00B3\\a.doc", L"\\\\?\\E:\\LPT\u00B3\\a.doc", true},
        {L"E:\\COM0.tar.gz", L"E:\\COM0.tar.gz", L"\\\\?\\E:\\COM0.tar.gz", true},
        {L"E:\\console\\COM10\\prn1\\LPT\u00B4", L"E:\\console\\COM10\\prn1\\LPT\u00B4", L"\\\\?\\E:\\console\\COM10\\prn1\\LPT\u00B4", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(FullFolderPath(c.path), c.full);
        EXPECT_EQ(ForFileApi(c.path), c.forFileApi);
        EXPECT_EQ(HasNameTheShellAlters(c.path), c.shellAltersIt);
    }
}

TEST(RunTime, ProgramFolderHasNoTrailingBackslashBelowARoot) {
    Win32RunTime run;
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder = exe;
    folder.resize(folder.find_last_of(L'\\'));
    EXPECT_EQ(run.ProgramFolder(), folder);
}

}  // namespace

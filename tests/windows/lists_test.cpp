#include <gtest/gtest.h>

#include "file_list_box.h"
#include "folder_list_box.h"
#include "folder_scan.h"
#include "list_rows.h"
#include "test_drive.h"

namespace {

using Names = std::vector<std::wstring>;

// A hidden top-level window to hold the lists.
struct ListsOnDisk : ::testing::Test {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr, nullptr, nullptr);
    Win32FolderWatch watch{parent};
    FolderScanner scanner{watch};
    FolderListBox dir1{parent, 1, scanner};
    FileListBox file1{parent, 2, scanner};

    void SetUp() override {
        ClearDrive();
        for (const wchar_t* folder : {L"E:\\Lessons\\Week10", L"E:\\Lessons\\Week2", L"E:\\Lessons\\week1",
                                      L"E:\\Lessons\\Hidden", L"E:\\Lessons\\课程 😀", L"E:\\Top"})
            MakeFolder(folder);
        SetFileAttributesW(L"E:\\Lessons\\Hidden", FILE_ATTRIBUTE_HIDDEN);
        for (const wchar_t* file : {L"E:\\Lessons\\b.doc", L"E:\\Lessons\\A.doc", L"E:\\Lessons\\a10.ppt",
                                    L"E:\\Lessons\\a9.ppt", L"E:\\Lessons\\hidden.txt", L"E:\\Lessons\\system.txt",
                                    L"E:\\Lessons\\日本語 & 100%.txt"})
            WriteBytes(file, "x");
        SetFileAttributesW(L"E:\\Lessons\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW(L"E:\\Lessons\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    }
    ~ListsOnDisk() override { DestroyWindow(parent); }

    // What the scanner lists, by name.
    Result Scan(const std::wstring& folder, EntryKind kind, Names& names) {
        std::vector<Listed> listed;
        const Result result = scanner.Scan(folder, kind, listed);
        names.clear();
        for (const Listed& entry : listed) names.push_back(entry.name);
        return result;
    }
};

TEST_F(ListsOnDisk, ScanListsVisibleEntriesInExplorerOrder) {
    Names names;
    ASSERT_TRUE(Scan(L"E:\\Lessons", EntryKind::Folders, names).ok);
    EXPECT_EQ(names, (Names{L"week1", L"Week2", L"Week10", L"课程 😀"}));
    ASSERT_TRUE(Scan(L"E:\\Lessons", EntryKind::Files, names).ok);
    EXPECT_EQ(names, (Names{L"A.doc", L"a9.ppt", L"a10.ppt", L"b.doc", L"日本語 & 100%.txt"}));

    // The system's collation orders the text (on this Chinese system by
    // pinyin, not by code), and Chinese numerals count by value.
    for (const wchar_t* week : {L"第十一周", L"第二周", L"第二十周", L"第一周", L"第十周", L"第三周", L"第九周"})
        MakeFolder(std::wstring(L"E:\\学期\\") + week);
    for (const wchar_t* subject : {L"语文.doc", L"英语.doc", L"音乐.doc", L"数学.doc", L"美术.doc"})
        WriteBytes(std::wstring(L"E:\\学期\\") + subject, "x");
    ASSERT_TRUE(dir1.SetPath(L"E:\\学期").ok);
    EXPECT_EQ(Entries(dir1.Box().Handle()),
              (Names{L"E:\\", L"学期", L"第一周", L"第二周", L"第三周", L"第九周", L"第十周", L"第十一周", L"第二十周"}));
    ASSERT_TRUE(file1.SetPath(L"E:\\学期").ok);
    EXPECT_EQ(Entries(file1.Box().Handle()), (Names{L"美术.doc", L"数学.doc", L"音乐.doc", L"英语.doc", L"语文.doc"}));

    ASSERT_TRUE(Scan(L"E:\\Lessons\\Week2", EntryKind::Files, names).ok);  // empty is fine
    EXPECT_TRUE(names.empty());
    const Result missing = Scan(L"E:\\Gone", EntryKind::Files, names);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.reason.empty());
}

TEST_F(ListsOnDisk, FolderListNumbersEntriesFromTheOpenFolder) {
    ASSERT_TRUE(dir1.SetPath(L"E:\\Lessons\\Week2").ok);
    EXPECT_EQ(dir1.Path(), L"E:\\Lessons\\Week2");
    EXPECT_EQ(dir1.ListIndex(), -1);
    EXPECT_EQ(dir1.List(-1), L"E:\\Lessons\\Week2");
    EXPECT_EQ(dir1.List(-2), L"E:\\Lessons");
    EXPECT_EQ(dir1.List(-3), L"E:\\");
    EXPECT_EQ(dir1.List(-4), L"");
    EXPECT_EQ(dir1.List(0), L"");  // Week2 has no subfolders
    EXPECT_EQ(Entries(dir1.Box().Handle()), (Names{L"E:\\", L"Lessons", L"Week2"}));

    ASSERT_TRUE(dir1.SetPath(L"E:\\Lessons\\").ok);
    EXPECT_EQ(dir1.Path(), L"E:\\Lessons");
    EXPECT_EQ(dir1.List(0), L"E:\\Lessons\\week1");
    EXPECT_EQ(dir1.List(3), L"E:\\Lessons\\课程 😀");
    EXPECT_EQ(Entries(dir1.Box().Handle()), (Names{L"E:\\", L"Lessons", L"week1", L"Week2", L"Week10", L"课程 😀"}));

    // The user moves the highlight; ListIndex follows the row.
    dir1.Box().Select(0);
    EXPECT_EQ(dir1.ListIndex(), -2);
    dir1.Box().Select(4);
    EXPECT_EQ(dir1.ListIndex(), 2);
    dir1.Highlight(L"e:\\lessons\\WEEK2");
    EXPECT_EQ(dir1.ListIndex(), 1);
}

// Each row gives, and is found by, its folder's full path: an ancestor by
// its path, a subfolder by the open folder's path and its name, also after
// folders came and went; an exact name before one that differs only in case.
TEST_F(ListsOnDisk, FolderListFindsEachRowByItsFolder) {
    ASSERT_TRUE(ChangeOutsideWine(L"mkdir Lessons/WEEK1 Lessons/week1/Lessons"));  // Wine makes no such pair
    ASSERT_TRUE(dir1.SetPath(L"E:\\Lessons\\week1").ok);
    EXPECT_EQ(Entries(dir1.Box().Handle()), (Names{L"E:\\", L"Lessons", L"week1", L"Lessons"}));
    const auto highlighted = [&](const std::wstring& folder) {
        return dir1.Highlight(folder) ? dir1.List(dir1.ListIndex()) : L"(none)";
    };
    EXPECT_EQ(highlighted(L"E:\\Lessons\\week1\\Lessons"), L"E:\\Lessons\\week1\\Lessons");
    EXPECT_EQ(dir1.ListIndex(), 0);  // the subfolder, not the ancestor of that name
    EXPECT_EQ(highlighted(L"e:\\LESSONS"), L"E:\\Lessons");
    EXPECT_EQ(dir1.ListIndex(), -2);
    EXPECT_EQ(highlighted(L"E:\\Lessons\\week1\\Lessons\\Deeper"), L"(none)");
    EXPECT_EQ(highlighted(L"E:\\Lessons\\week1\\"), L"(none)");

    ASSERT_TRUE(dir1.SetPath(L"E:\\Lessons").ok);
    EXPECT_EQ(highlighted(L"E:\\Lessons\\WEEK1"), L"E:\\Lessons\\WEEK1");
    EXPECT_EQ(highlighted(L"E:\\Lessons\\week1"), L"E:\\Lessons\\week1");
    EXPECT_EQ(highlighted(L"E:\\Top"), L"(none)");  // the root's, not shown
    EXPECT_EQ(highlighted(L"E:\\Top\\Les\\week1"), L"(none)");  // another folder's week1
    dir1.Change({{L"Week3", false}}, {L"Week2"});
    EXPECT_EQ(highlighted(L"E:\\Lessons\\Week3"), L"E:\\Lessons\\Week3");
    EXPECT_EQ(highlighted(L"E:\\Lessons\\Week2"), L"(none)");
    EXPECT_EQ(highlighted(L"E:\\Lessons\\Week10"), L"E:\\Lessons\\Week10");
    EXPECT_EQ(Entries(dir1.Box().Handle()).at(dir1.ListIndex() + 2), L"Week10");
}

TEST_F(ListsOnDisk, FolderListAtARootAndAfterDots) {
    ASSERT_TRUE(dir1.SetPath(L"E:\\").ok);
    EXPECT_EQ(dir1.Path(), L"E:\\");
    EXPECT_EQ(dir1.List(-1), L"E:\\");
    EXPECT_EQ(dir1.List(0), L"E:\\Lessons");
    EXPECT_EQ(Entries(dir1.Box().Handle()), (Names{L"E:\\", L"Lessons", L"Top"}));

    ASSERT_TRUE(dir1.SetPath(L"E:\\Lessons\\Week2\\..\\..\\..").ok);  // no further up than the root
    EXPECT_EQ(dir1.Path(), L"E:\\");
}

TEST_F(ListsOnDisk, FailureChangesNeitherList) {
    ASSERT_TRUE(dir1.SetPath(L"E:\\Lessons").ok);
    ASSERT_TRUE(file1.SetPath(L"E:\\Lessons").ok);
    SendMessageW(file1.Box().Handle(), LB_SETCURSEL, 0, 0);

    EXPECT_FALSE(dir1.SetPath(L"E:\\Gone").ok);
    EXPECT_FALSE(file1.SetPath(L"E:\\Gone").ok);
    EXPECT_FALSE(file1.SetPath(L"").ok);
    EXPECT_EQ(dir1.Path(), L"E:\\Lessons");
    EXPECT_EQ(dir1.List(0), L"E:\\Lessons\\week1");
    EXPECT_EQ(file1.Path(), L"E:\\Lessons");
    EXPECT_EQ(file1.FileName(), L"A.doc");
}

TEST_F(ListsOnDisk, FileListGivesTheSelectedName) {
    ASSERT_TRUE(file1.SetPath(L"E:\\Lessons").ok);
    EXPECT_EQ(file1.FileName(), L"");  // nothing selected yet
    SendMessageW(file1.Box().Handle(), LB_SETCURSEL, 4, 0);
    EXPECT_EQ(file1.FileName(), L"日本語 & 100%.txt");
    ASSERT_TRUE(file1.SetPath(L"E:\\").ok);
    EXPECT_EQ(file1.Path(), L"E:\\");
    EXPECT_EQ(file1.FileName(), L"");
}

TEST_F(ListsOnDisk, InitialFolderIsTheCurrentFolder) {
    SetCurrentDirectoryW(L"E:\\Top");
    FolderListBox fresh(parent, 3, scanner);
    EXPECT_EQ(fresh.Path(), L"E:\\Top");
    EXPECT_EQ(fresh.List(-1), L"E:\\Top");
    SetCurrentDirectoryW(L"C:\\");
}

// A scan keeps the entries of the other kind for the next request: they
// answer it only while nothing can have changed them.
TEST(KeptScan, StillGoodForTheOtherKindWithinTwoSecondsOfAnUnchangedWatch) {
    const KeptScan kept{L"E:\\Lessons", EntryKind::Files, {}, 10000, 7};
    const struct {
        std::wstring folder;
        EntryKind kind;
        ULONGLONG now;
        uint64_t watchVersion;
        bool good;
    } cases[] = {
        {L"E:\\Lessons", EntryKind::Files, 10000, 7, true},
        {L"e:\\LESSONS", EntryKind::Files, 11999, 7, true},  // the folder in another case
        {L"E:\\Lessons", EntryKind::Files, 12000, 7, false},  // two seconds on
        {L"E:\\Lessons", EntryKind::Folders, 10000, 7, false},
        {L"E:\\Lessons\\Week1", EntryKind::Files, 10000, 7, false},
        {L"E:\\Lessons", EntryKind::Files, 10000, 8, false},  // the folder reported a change
        {L"E:\\Lessons", EntryKind::Files, 10000, 0, false},  // no longer watched
    };
    for (const auto& c : cases)
        EXPECT_EQ(kept.StillGood(c.folder, c.kind, c.now, c.watchVersion), c.good) << testing::PrintToString(c.folder);
    const KeptScan unwatched{L"E:\\Lessons", EntryKind::Files, {}, 10000, 0};
    EXPECT_FALSE(unwatched.StillGood(L"E:\\Lessons", EntryKind::Files, 10000, 0)) << "read while not watched";
}

// What a watch tells, completion by completion: every name, however the
// records lie in the buffer (Wine packs them unaligned), and when more
// changed than it can hold, that the folder must be read whole; it goes on.
TEST_F(ListsOnDisk, WatchTellsEveryNameOrThatTooManyChanged) {
    const auto next = [&] {
        EXPECT_EQ(WaitForMultipleObjects(watch.Count(), watch.Events(), FALSE, 5000), WAIT_OBJECT_0);
        return watch.Take(0);
    };
    watch.Start(L"E:\\Lessons\\Week2");
    ASSERT_EQ(watch.Count(), 1u);
    WriteBytes(L"E:\\Lessons\\Week2\\first", "x");
    FolderReport report = next();  // while it is taken, more come, to be told at once
    for (const wchar_t* name : {L"a", L"bb", L"ccc", L"周"}) WriteBytes(L"E:\\Lessons\\Week2\\" + std::wstring(name), "x");
    Names told;
    for (;;) {
        ASSERT_EQ(report.kind, FolderReport::Kind::Names);
        EXPECT_EQ(report.folder, L"E:\\Lessons\\Week2");
        for (const auto& change : report.names)
            if (change.kind == NameChange::Kind::Added) told.push_back(change.name);
        if (told.size() >= 5) break;
        report = next();
    }
    EXPECT_EQ(told, (Names{L"first", L"a", L"bb", L"ccc", L"周"}));

    for (int i = 0; i < 1500; ++i)  // some 100 KB of records, more than the watch holds
        WriteBytes(L"E:\\Lessons\\Week2\\" + std::to_wstring(i) + L" a name long enough to fill it up", "");
    bool tooMany = false;
    while (WaitForMultipleObjects(watch.Count(), watch.Events(), FALSE, 1000) == WAIT_OBJECT_0)
        tooMany = watch.Take(0).kind == FolderReport::Kind::TooMany || tooMany;
    EXPECT_TRUE(tooMany);
    WriteBytes(L"E:\\Lessons\\Week2\\after", "x");
    EXPECT_EQ(next().kind, FolderReport::Kind::Names);
}

}  // namespace

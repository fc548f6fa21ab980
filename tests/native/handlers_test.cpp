#include <gtest/gtest.h>

#include "fakes.h"
#include "drive_changes.h"
#include "form1.h"

namespace {

// The typical run: the program at E:\, the settings file naming Lessons.
struct Clicks : ::testing::Test {
    FakeDisk disk;
    FakeRunTime app{disk};
    FakeFolderList dir1{disk, L"E:\\"};
    FakeFileList file1{disk};
    Form1 form{app, dir1, file1};

    Clicks() {
        disk.AddFile(L"E:\\Verondel设置.ini", "Lessons\r\n");
        disk.AddFile(L"E:\\a.doc");
        disk.AddFile(L"E:\\Lessons\\a.doc");
        disk.AddFile(L"E:\\Lessons\\Week1\\slides.ppt");
        disk.AddFolder(L"E:\\Lessons\\Week2");
        form.Form_Load();
    }
    const PathState& State() { return form.State(); }
    void ClickFolder(int index) {
        dir1.UserHighlights(index);
        form.Dir1_Click();
    }
    void ClickFile(const std::wstring& name) {
        file1.UserSelects(name);
        form.File1_Click();
    }
};

TEST_F(Clicks, TypicalRunFromFolderToFile) {
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons");
    EXPECT_EQ(State().SelectedFile, L"");

    ClickFolder(0);  // Week1
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons\\Week1");
    EXPECT_EQ(file1.Path(), L"E:\\Lessons\\Week1");
    EXPECT_EQ(dir1.Path(), L"E:\\Lessons");  // a click does not open the folder

    ClickFile(L"slides.ppt");
    EXPECT_EQ(State().SelectedFile, L"E:\\Lessons\\Week1\\slides.ppt");

    form.Command2_Click();
    EXPECT_EQ(app.openedFiles, std::vector<std::wstring>{L"E:\\Lessons\\Week1\\slides.ppt"});
    form.Command1_Click();
    EXPECT_EQ(app.explorerStarts, std::vector<std::wstring>{L"E:\\Lessons\\Week1"});
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(Clicks, FolderClicksMakeTheHighlightedEntryCurrent) {
    ClickFile(L"a.doc");
    const struct {
        int index;
        std::wstring folder;
    } cases[] = {
        {-2, L"E:\\"},                // an ancestor: the folder list stays on Lessons
        {-1, L"E:\\Lessons"},         // the open folder itself reloads its files
        {1, L"E:\\Lessons\\Week2"},
    };
    for (const auto& c : cases) {
        ClickFolder(c.index);
        EXPECT_EQ(State().CurrentFolder, c.folder);
        EXPECT_EQ(file1.Path(), c.folder);
        EXPECT_EQ(State().SelectedFile, L"");
        EXPECT_EQ(dir1.Path(), L"E:\\Lessons");
    }
}

TEST_F(Clicks, FileClicksJoinWithoutDoublingTheRootBackslash) {
    ClickFolder(-2);
    ClickFile(L"a.doc");
    EXPECT_EQ(State().SelectedFile, L"E:\\a.doc");
    ClickFolder(-1);
    ClickFile(L"a.doc");
    EXPECT_EQ(State().SelectedFile, L"E:\\Lessons\\a.doc");
}

TEST_F(Clicks, OpenFileWithNothingSelectedAsksForAFile) {
    const Message choose{L"请先选择文件", L"提示"};
    form.Command2_Click();  // before any file click
    ClickFile(L"a.doc");
    ClickFolder(0);
    form.Command2_Click();  // right after a folder click
    EXPECT_TRUE(app.openedFiles.empty());
    EXPECT_EQ(app.messages, (std::vector<Message>{choose, choose}));
}

TEST_F(Clicks, FailedLaunchesAreReportedOnceWithPathAndReason) {
    ClickFile(L"a.doc");
    app.openResult = Result::Failure(L"没有与之关联的应用。");
    form.Command2_Click();
    app.explorerResult = Result::Failure(L"系统找不到指定的文件。");
    form.Command1_Click();
    EXPECT_EQ(app.messages, (std::vector<Message>{
                                {L"无法打开文件\nE:\\Lessons\\a.doc\n没有与之关联的应用。", L"提示"},
                                {L"无法打开文件夹\nE:\\Lessons\n系统找不到指定的文件。", L"提示"}}));
    // Each press is one launch, and the state is unchanged by a failure.
    EXPECT_EQ(app.openedFiles.size(), 1u);
    EXPECT_EQ(app.explorerStarts.size(), 1u);
    EXPECT_EQ(State().SelectedFile, L"E:\\Lessons\\a.doc");
}

TEST_F(Clicks, FolderThatCannotBeListedChangesNothing) {
    ClickFolder(0);
    ClickFile(L"slides.ppt");
    disk.unlistable.insert(L"E:\\Lessons\\Week2");  // removed since it was listed

    ClickFolder(1);
    EXPECT_EQ(app.messages, (std::vector<Message>{{L"无法打开文件夹\nE:\\Lessons\\Week2\n找不到路径。", L"提示"}}));
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons\\Week1");
    EXPECT_EQ(State().SelectedFile, L"E:\\Lessons\\Week1\\slides.ppt");
    EXPECT_EQ(file1.Path(), L"E:\\Lessons\\Week1");
    EXPECT_EQ(dir1.ListIndex(), 0);  // the highlight is back on Week1
}

// Double-click or Enter: the Click came first, so the folder is current
// already; the folder list now opens it, or says why it cannot.
TEST_F(Clicks, DoubleClickOpensTheHighlightedFolder) {
    ClickFolder(0);  // Week1
    form.Dir1_DblClick();
    EXPECT_EQ(dir1.Path(), L"E:\\Lessons\\Week1");
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons\\Week1");

    ClickFolder(-3);  // back up to the root: E:\, Lessons, Week1
    form.Dir1_DblClick();
    EXPECT_EQ(dir1.Path(), L"E:\\");
    EXPECT_TRUE(app.messages.empty());

    ClickFolder(0);   // Lessons
    disk.unlistable.insert(L"E:\\Lessons");  // gone between the click and the double-click
    form.Dir1_DblClick();
    EXPECT_EQ(app.messages, (std::vector<Message>{{L"无法打开文件夹\nE:\\Lessons\n找不到路径。", L"提示"}}));
    EXPECT_EQ(dir1.Path(), L"E:\\");
}

// The lists follow the drive: the highlight and the selection are kept by
// name, and what has gone is no longer what the buttons act on.
TEST_F(Clicks, ReadingAgainKeepsHighlightAndSelectionByName) {
    ClickFolder(0);  // Week1
    ClickFile(L"slides.ppt");
    disk.AddFolder(L"E:\\Lessons\\Week0");  // now before Week1 in the list
    disk.AddFile(L"E:\\Lessons\\Week1\\notes.ppt");
    form.Dir1_Refresh();
    form.File1_Refresh();
    EXPECT_EQ(dir1.List(dir1.ListIndex()), L"E:\\Lessons\\Week1");
    EXPECT_EQ(file1.FileName(), L"slides.ppt");
    EXPECT_EQ(State().SelectedFile, L"E:\\Lessons\\Week1\\slides.ppt");

    disk.files.erase(L"E:\\Lessons\\Week1\\slides.ppt");
    form.File1_Refresh();
    EXPECT_EQ(file1.FileName(), L"");
    EXPECT_EQ(State().SelectedFile, L"");

    disk.folders.erase(L"E:\\Lessons\\Week1");  // the highlighted folder goes: the open one becomes current
    form.Dir1_Refresh();
    EXPECT_EQ(dir1.ListIndex(), -1);
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons");
    EXPECT_EQ(file1.Path(), L"E:\\Lessons");

    disk.unlistable.insert(L"E:\\Lessons");  // the open folder itself goes: the lists keep what they show
    form.Dir1_Refresh();
    form.File1_Refresh();
    EXPECT_EQ(dir1.Path(), L"E:\\Lessons");
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons");
    EXPECT_TRUE(app.messages.empty());
}

TEST_F(Clicks, DoubleClickOnAFileOpensItAsTheButtonDoes) {
    form.File1_DblClick();  // nothing selected
    ClickFile(L"a.doc");
    form.File1_DblClick();
    EXPECT_EQ(app.messages, (std::vector<Message>{{L"请先选择文件", L"提示"}}));
    EXPECT_EQ(app.openedFiles, std::vector<std::wstring>{L"E:\\Lessons\\a.doc"});
}

// Characters typed in quick succession select by prefix, ignoring case; a
// pause starts anew; a new selection counts as a click.
TEST_F(Clicks, TypingSelectsTheFirstNameStartingWithIt) {
    for (const wchar_t* name : {L"apple.txt", L"banana.txt", L"berry.txt", L"blueberry.txt", L"练习1.doc", L"练习2.doc"})
        disk.AddFile(L"E:\\Lessons\\" + std::wstring(name));
    const struct {
        std::wstring keys;
        uint64_t after;  // ms since the last key, before these keys
        std::wstring selected;
    } cases[] = {
        {L"ber", 5000, L"berry.txt"},
        {L"BL", 5000, L"blueberry.txt"},
        {L"b", 5000, L"banana.txt"},
        {L"a", 200, L"banana.txt"},     // "ba" still
        {L"练", 1500, L"练习1.doc"},     // after a pause, a character from an input method
        {L"x", 5000, L"练习1.doc"},      // no match: the selection stays
        {L"\r", 5000, L"练习1.doc"},     // a control key is no part of a name
    };
    for (const auto& c : cases) {
        app.now += c.after;
        for (const wchar_t key : c.keys) {
            form.File1_KeyPress(key);
            app.now += 100;
        }
        EXPECT_EQ(file1.FileName(), c.selected) << testing::PrintToString(c.keys);
        EXPECT_EQ(State().SelectedFile, L"E:\\Lessons\\" + c.selected);
    }

    app.now += 5000;
    for (const wchar_t key : std::wstring(L"week2")) form.Dir1_KeyPress(key);
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons\\Week2");
    EXPECT_EQ(file1.Path(), L"E:\\Lessons\\Week2");
}

// A burst of changes is read once it pauses, or about every second while it
// lasts; the host asks every 100 ms.
TEST(DriveChanges, BurstsAreReadOnceNotPerChange) {
    const struct {
        int changes, gapMs;
        int expectedReads;
    } cases[] = {
        {1, 0, 1},
        {1000, 1, 1},     // 1,000 files copied in a second
        {100, 50, 5},     // a slow copy of five seconds
        {3, 400, 3},      // three changes far apart
    };
    for (const auto& c : cases) {
        DriveChanges changes;
        int reads = 0;
        uint64_t nextChange = 0, now = 0;
        for (int seen = 0; seen < c.changes || changes.Waiting(); now += 1) {
            if (seen < c.changes && now == nextChange) {
                changes.Seen({false, true}, now);
                ++seen;
                nextChange = now + c.gapMs;
            }
            if (now % 100 == 0 && changes.TakeDue(now).files) ++reads;
        }
        EXPECT_EQ(reads, c.expectedReads) << c.changes << " changes " << c.gapMs << " ms apart";
    }
}

}  // namespace

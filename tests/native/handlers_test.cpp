#include <gtest/gtest.h>

#include "fakes.h"
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

}  // namespace

#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"
#include "drive_changes.h"
#include "form1.h"
#include "launch.h"

namespace {

// The typical run: the program at E:\, the settings file naming Lessons.
struct Clicks : ::testing::Test {
    FakeDisk disk;
    FakeRunTime app{disk};
    FakeFolderList dir1{disk, L"E:\\"};
    FakeFileList file1{disk};
    FakeFolderWatch watch{disk};
    Form1 form{app, dir1, file1, watch};

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
    // What is due once a burst of changes has paused.
    void CatchUp() {
        app.now += 1000;
        form.Drive_CatchUp();
    }
    void Reports(FolderReport report) {
        form.Drive_Changed(std::move(report));
        CatchUp();
    }
};

using Names = std::vector<std::wstring>;

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
    app.underWine = true;  // the folder goes to the Linux desktop, and no Explorer starts
    form.Command1_Click();
    EXPECT_EQ(app.handedToDesktop, std::vector<std::wstring>{L"E:\\Lessons\\Week1"});
    EXPECT_EQ(app.explorerStarts.size(), 1u);
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

// A decoy a virus left is never opened, by the button or a double-click; the
// disk is asked as the button is pressed. A courseware program opens.
TEST_F(Clicks, DecoysAreNeverOpened) {
    disk.AddFile(L"E:\\Lessons\\Week1.exe");
    disk.AddFile(L"E:\\Lessons\\Week2.exe");
    disk.AddFile(L"E:\\Lessons\\player.exe");
    ClickFolder(-1);
    disk.hiddenFolders.insert(L"E:\\Lessons\\Week1");
    ClickFile(L"Week1.exe");
    form.Command2_Click();
    form.File1_DblClick();
    const Message refused{L"“Week1.exe”可能是病毒留下的伪装，为了安全，没有打开它。\n"
                          L"真正的文件夹“Week1”就在文件夹列表中。\n请用杀毒软件查杀这个U盘。", L"提示"};
    EXPECT_EQ(app.messages, (std::vector<Message>{refused, refused}));
    ClickFile(L"Week2.exe");  // beside a visible folder: Windows reads the attribute, Wine may not
    app.underWine = true;
    form.Command2_Click();
    EXPECT_EQ(app.messages.size(), 3u);
    app.underWine = false;
    form.Command2_Click();
    ClickFile(L"player.exe");
    form.Command2_Click();
    EXPECT_EQ(app.openedFiles, (Names{L"E:\\Lessons\\Week2.exe", L"E:\\Lessons\\player.exe"}));

    // A program hidden since it was listed is not opened; what is named
    // after a hidden program never names it as the real file.
    disk.AddFile(L"E:\\Lessons\\更新.exe");
    disk.AddFile(L"E:\\Lessons\\更新.exe.lnk");
    disk.hiddenFiles.insert(L"E:\\Lessons\\更新.exe");
    ClickFile(L"更新.exe");
    form.Command2_Click();
    ClickFile(L"更新.exe.lnk");
    form.Command2_Click();
    // Where the disk cannot tell, nothing that could be a decoy opens.
    disk.unlistable.insert(L"E:\\Lessons");
    form.Command2_Click();
    ClickFile(L"a.doc");
    form.Command2_Click();
    EXPECT_EQ(app.messages.size(), 6u);
    EXPECT_EQ(app.messages[3].prompt, L"“更新.exe”是隐藏的程序或快捷方式，可能是病毒，为了安全，没有打开它。\n请用杀毒软件查杀这个U盘。");
    EXPECT_EQ(app.messages[4].prompt, L"“更新.exe.lnk”可能是病毒留下的伪装，为了安全，没有打开它。\n请用杀毒软件查杀这个U盘。");
    EXPECT_EQ(app.messages[5].prompt,
              L"无法检查这个程序或快捷方式所在的文件夹，为了安全，没有打开它。\nE:\\Lessons\n拒绝访问。");
    EXPECT_EQ(app.openedFiles.back(), L"E:\\Lessons\\a.doc");
    EXPECT_EQ(app.openedFiles.size(), 3u);

    // Each kind of decoy says where what the virus hid is listed.
    disk.unlistable.erase(L"E:\\Lessons");
    disk.AddFile(L"E:\\Lessons\\课件.pptx");
    disk.AddFile(L"E:\\Lessons\\课件.pptx.lnk");
    disk.hiddenFiles.insert(L"E:\\Lessons\\课件.pptx");
    disk.AddFolder(L"E:\\Lessons\\\u00A0");
    disk.hiddenFolders.insert(L"E:\\Lessons\\\u00A0");
    disk.AddFile(L"E:\\Lessons\\U盘.lnk");
    ClickFolder(-1);
    ClickFile(L"课件.pptx.lnk");
    form.Command2_Click();
    ClickFile(L"U盘.lnk");
    form.Command2_Click();
    ASSERT_EQ(app.messages.size(), 8u);
    EXPECT_EQ(app.messages[6].prompt, L"“课件.pptx.lnk”可能是病毒留下的伪装，为了安全，没有打开它。\n"
                                      L"真正的文件“课件.pptx”就在文件列表中。\n请用杀毒软件查杀这个U盘。");
    EXPECT_EQ(app.messages[7].prompt, L"“U盘.lnk”可能是病毒留下的伪装，为了安全，没有打开它。\n"
                                      L"被病毒藏起来的文件夹和文件，都在文件夹列表中名字空白的文件夹里。\n请用杀毒软件查杀这个U盘。");
    EXPECT_EQ(app.openedFiles.size(), 3u);
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

// F5 reads both lists again: the highlight and the selection are kept by
// name, and what has gone is no longer what the buttons act on. A folder
// that has gone gives way to its nearest ancestor; with the drive gone, the
// lists keep what they show.
TEST_F(Clicks, ReadingAgainKeepsHighlightAndSelectionByName) {
    ClickFolder(0);  // Week1
    ClickFile(L"slides.ppt");
    disk.AddFolder(L"E:\\Lessons\\Week0");  // now before Week1 in the list
    disk.AddFile(L"E:\\Lessons\\Week1\\notes.ppt");
    form.Form_Refresh();
    EXPECT_EQ(dir1.List(dir1.ListIndex()), L"E:\\Lessons\\Week1");
    EXPECT_EQ(file1.Names(), (Names{L"notes.ppt", L"slides.ppt"}));
    EXPECT_EQ(State().SelectedFile, L"E:\\Lessons\\Week1\\slides.ppt");

    const struct {
        std::function<void()> change;
        std::wstring dir1, current;
        std::wstring selected;
    } cases[] = {
        {[&] { disk.files.erase(L"E:\\Lessons\\Week1\\slides.ppt"); }, L"E:\\Lessons", L"E:\\Lessons\\Week1", L""},
        {[&] { disk.Remove(L"E:\\Lessons\\Week1"); }, L"E:\\Lessons", L"E:\\Lessons", L""},
        {[&] { disk.Remove(L"E:\\Lessons"); }, L"E:\\", L"E:\\", L""},
        {[&] { disk.unlistable.insert(L"E:\\"); }, L"E:\\", L"E:\\", L""},  // the drive has gone
    };
    for (const auto& c : cases) {
        c.change();
        form.Form_Refresh();
        EXPECT_EQ(dir1.Path(), c.dir1);
        EXPECT_EQ(State().CurrentFolder, c.current);
        EXPECT_EQ(file1.Path(), c.current);
        EXPECT_EQ(dir1.List(dir1.ListIndex()), c.current) << "the current folder is highlighted";
        EXPECT_EQ(State().SelectedFile, c.selected);
    }
    EXPECT_TRUE(app.messages.empty());
}

// What a watched folder reports is applied name by name, to every list that
// shows the folder, each name as the disk has it now; a name the disk knows
// by another name, or lost changes, mean the folder is read again whole.
TEST_F(Clicks, ChangesReachEveryListShowingTheFolder) {
    using Kind = NameChange::Kind;
    ClickFolder(-1);  // both lists on Lessons
    ClickFile(L"a.doc");
    const struct {
        std::function<void()> change;
        FolderReport report;
        Names subfolders, files;
        std::wstring selected;
    } cases[] = {
        {[&] { disk.AddFile(L"E:\\Lessons\\b.doc"); disk.AddFolder(L"E:\\Lessons\\Week0"); },
         {FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Added, L"b.doc"}, {Kind::Added, L"Week0"}}},
         {L"Week0", L"Week1", L"Week2"}, {L"a.doc", L"b.doc"}, L"a.doc"},
        {[&] { disk.AddFile(L"E:\\Lessons\\~$a.doc"); disk.hiddenFiles.insert(L"E:\\Lessons\\~$a.doc"); },
         {FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Added, L"~$a.doc"}, {Kind::Added, L"gone.doc"}}},
         {L"Week0", L"Week1", L"Week2"}, {L"a.doc", L"b.doc"}, L"a.doc"},  // hidden, and gone already
        {[&] { disk.files.erase(L"E:\\Lessons\\a.doc"); disk.AddFile(L"E:\\Lessons\\c.doc"); },
         {FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::RenamedFrom, L"a.doc"}, {Kind::RenamedTo, L"c.doc"}}},
         {L"Week0", L"Week1", L"Week2"}, {L"b.doc", L"c.doc"}, L"c.doc"},  // the selection follows its file
        {[&] { disk.files.erase(L"E:\\Lessons\\b.doc"); disk.otherNames.insert(L"E:\\Lessons\\B~1.DOC"); },
         {FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Removed, L"B~1.DOC"}}},
         {L"Week0", L"Week1", L"Week2"}, {L"c.doc"}, L"c.doc"},  // a short name: read whole
        {[&] { disk.files.erase(L"E:\\Lessons\\c.doc"); },
         {FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Removed, L"C~1.DOC"}}},
         {L"Week0", L"Week1", L"Week2"}, {}, L""},  // a short name the disk no longer knows: read whole
        {[&] { disk.files.erase(L"E:\\Lessons\\c.doc"); disk.AddFile(L"E:\\Lessons\\d.doc"); disk.Remove(L"E:\\Lessons\\Week0"); },
         {FolderReport::Kind::TooMany, L"E:\\Lessons", {}},
         {L"Week1", L"Week2"}, {L"d.doc"}, L""},
        // A virus hides Week1, then leaves its decoy, which shows Week1 again
        // until an antivirus takes the decoy away.
        {[&] { disk.hiddenFolders.insert(L"E:\\Lessons\\Week1"); },
         {FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Modified, L"Week1"}}},
         {L"Week2"}, {L"d.doc"}, L""},
        {[&] { disk.AddFile(L"E:\\Lessons\\Week1.exe"); },
         {FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Added, L"Week1.exe"}}},
         {L"Week1", L"Week2"}, {L"Week1.exe", L"d.doc"}, L""},
        {[&] { disk.files.erase(L"E:\\Lessons\\Week1.exe"); },
         {FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Removed, L"Week1.exe"}}},
         {L"Week2"}, {L"d.doc"}, L""},
        {[&] { disk.Remove(L"E:\\Lessons"); },  // the folder above lost changes, one of them the open folder going
         {FolderReport::Kind::TooMany, L"E:\\", {}},
         {}, {L"Verondel设置.ini", L"a.doc"}, L""},
    };
    for (const auto& c : cases) {
        c.change();
        Reports(c.report);
        EXPECT_EQ(dir1.Subfolders(), c.subfolders);
        EXPECT_EQ(file1.Names(), c.files);
        EXPECT_EQ(file1.FileName(), c.selected);
        EXPECT_EQ(State().SelectedFile, c.selected.empty() ? L"" : L"E:\\Lessons\\" + c.selected);
    }
    EXPECT_EQ(dir1.Path(), L"E:\\");
}

// The highlighted folder renamed stays highlighted and current under its new
// name, its file still selected; removed, the open folder becomes current.
// The open folder removed gives way to its nearest ancestor, which the
// folder above it tells; removed and made again, it is watched anew.
TEST_F(Clicks, FoldersThatGoAsExplorerFollowsThem) {
    using Kind = NameChange::Kind;
    ClickFolder(0);  // Week1
    ClickFile(L"slides.ppt");
    disk.Remove(L"E:\\Lessons\\Week1");
    disk.AddFile(L"E:\\Lessons\\第一周\\slides.ppt");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::RenamedFrom, L"Week1"}, {Kind::RenamedTo, L"第一周"}}});
    EXPECT_EQ(dir1.List(dir1.ListIndex()), L"E:\\Lessons\\第一周");
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons\\第一周");
    EXPECT_EQ(State().SelectedFile, L"E:\\Lessons\\第一周\\slides.ppt");
    EXPECT_EQ(watch.Alive(), (std::set<std::wstring>{L"E:\\", L"E:\\Lessons", L"E:\\Lessons\\第一周"}));

    disk.Remove(L"E:\\Lessons\\第一周");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Removed, L"第一周"}}});
    EXPECT_EQ(dir1.ListIndex(), -1);
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons");
    EXPECT_EQ(file1.Path(), L"E:\\Lessons");
    EXPECT_EQ(State().SelectedFile, L"");

    ClickFolder(0);  // Week2, then the open folder goes from above
    disk.Remove(L"E:\\Lessons");
    Reports({FolderReport::Kind::Names, L"E:\\", {{Kind::Removed, L"Lessons"}}});
    EXPECT_EQ(dir1.Path(), L"E:\\");
    EXPECT_EQ(State().CurrentFolder, L"E:\\");
    EXPECT_EQ(file1.Path(), L"E:\\");
    EXPECT_EQ(watch.Alive(), (std::set<std::wstring>{L"E:\\"}));

    // Made again: the folder above tells; opened, then removed and made
    // again while its old watch still watches the one removed, silently, as
    // under Wine: watched anew.
    disk.AddFolder(L"E:\\Lessons");
    Reports({FolderReport::Kind::Names, L"E:\\", {{Kind::Added, L"Lessons"}}});
    ClickFolder(0);
    form.Dir1_DblClick();
    watch.watches[L"E:\\Lessons"] = false;
    disk.AddFile(L"E:\\Lessons\\new.doc");
    Reports({FolderReport::Kind::Names, L"E:\\", {{Kind::Removed, L"Lessons"}, {Kind::Added, L"Lessons"}}});
    EXPECT_EQ(dir1.Path(), L"E:\\Lessons");
    EXPECT_EQ(file1.Names(), Names{L"new.doc"});
    EXPECT_EQ(watch.Alive(), (std::set<std::wstring>{L"E:\\", L"E:\\Lessons"}));

    // The file list's own folder, below the open one, made again the same
    // way: its later changes show too.
    disk.AddFolder(L"E:\\Lessons\\Week3");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Added, L"Week3"}}});
    ClickFolder(0);
    watch.watches[L"E:\\Lessons\\Week3"] = false;
    Reports({FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Removed, L"Week3"}, {Kind::Added, L"Week3"}}});
    EXPECT_EQ(file1.Path(), L"E:\\Lessons\\Week3");
    EXPECT_EQ(watch.Alive(), (std::set<std::wstring>{L"E:\\", L"E:\\Lessons", L"E:\\Lessons\\Week3"}));
    disk.AddFile(L"E:\\Lessons\\Week3\\later.doc");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons\\Week3", {{Kind::Added, L"later.doc"}}});
    EXPECT_EQ(file1.Names(), Names{L"later.doc"});

    // Opened, with the file list on the folder above: that folder's report
    // of the open folder going brings its new files too.
    form.Dir1_DblClick();
    ClickFolder(-2);
    disk.Remove(L"E:\\Lessons\\Week3");
    disk.AddFile(L"E:\\Lessons\\b.doc");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Removed, L"Week3"}, {Kind::Added, L"b.doc"}}});
    EXPECT_EQ(dir1.Path(), L"E:\\Lessons");
    EXPECT_EQ(file1.Names(), (Names{L"b.doc", L"new.doc"}));

    // A file the file list's folder reports by its short name: that list is
    // read again, the open folder's as it was.
    ClickFolder(-1);
    disk.AddFolder(L"E:\\Lessons\\Week4");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Added, L"Week4"}}});
    ClickFolder(0);
    disk.AddFile(L"E:\\Lessons\\Week4\\长文件名.doc");
    disk.otherNames.insert(L"E:\\Lessons\\Week4\\CHANGW~1.DOC");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons\\Week4", {{Kind::Added, L"CHANGW~1.DOC"}}});
    EXPECT_EQ(file1.Names(), Names{L"长文件名.doc"});
    // The shortcut worm hides a file there, then leaves a shortcut named
    // after it up to the dot, which shows the file again.
    disk.AddFile(L"E:\\Lessons\\Week4\\讲义.pptx");
    disk.hiddenFiles.insert(L"E:\\Lessons\\Week4\\讲义.pptx");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons\\Week4", {{Kind::Added, L"讲义.pptx"}}});
    disk.AddFile(L"E:\\Lessons\\Week4\\讲义.lnk");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons\\Week4", {{Kind::Added, L"讲义.lnk"}}});
    EXPECT_EQ(file1.Names(), (Names{L"讲义.lnk", L"讲义.pptx", L"长文件名.doc"}));
    // Its shortcut there first, a file it hides is listed faded as it comes.
    disk.AddFile(L"E:\\Lessons\\Week4\\试卷.lnk");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons\\Week4", {{Kind::Added, L"试卷.lnk"}}});
    disk.AddFile(L"E:\\Lessons\\Week4\\试卷.docx");
    disk.hiddenFiles.insert(L"E:\\Lessons\\Week4\\试卷.docx");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons\\Week4", {{Kind::Added, L"试卷.docx"}}});
    EXPECT_EQ(file1.Faded(), (Names{L"讲义.pptx", L"试卷.docx"}));
    // A folder the open folder reports by its short name: the folder list is
    // read again, and the file list, on another folder, is not.
    const int fileListReads = file1.setPathCalls;
    disk.AddFolder(L"E:\\Lessons\\长文件夹名");
    disk.otherNames.insert(L"E:\\Lessons\\CHANGW~2");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::Added, L"CHANGW~2"}}});
    EXPECT_EQ(dir1.Subfolders(), (Names{L"Week4", L"长文件夹名"}));
    EXPECT_EQ(file1.setPathCalls, fileListReads);
    // The highlighted folder renamed to one that cannot be read: both lists
    // are read again, and the open folder's files shown.
    const int folderListReads = dir1.setPathCalls;
    disk.Remove(L"E:\\Lessons\\Week4");
    disk.AddFolder(L"E:\\Lessons\\第四周");
    disk.unlistable.insert(L"E:\\Lessons\\第四周");
    Reports({FolderReport::Kind::Names, L"E:\\Lessons", {{Kind::RenamedFrom, L"Week4"}, {Kind::RenamedTo, L"第四周"}}});
    EXPECT_EQ(dir1.setPathCalls, folderListReads + 1);
    EXPECT_EQ(State().CurrentFolder, L"E:\\Lessons");
    EXPECT_EQ(file1.Path(), L"E:\\Lessons");
    EXPECT_TRUE(app.messages.empty());
}

// A watch that fails lets go of its folder at once, and is started anew
// while its folder exists, after a wait when it fails at every start; a
// folder that cannot be watched any more is read again to find out. Only a
// watch that failed is started anew: one that both lists share keeps what it
// has to report.
TEST_F(Clicks, AFailedWatchIsNeverKept) {
    const std::wstring lessons = L"E:\\Lessons", week1 = L"E:\\Lessons\\Week1", week2 = L"E:\\Lessons\\Week2";
    using Folders = std::set<std::wstring>;
    const Folders all{L"E:\\", lessons, week1}, up{L"E:\\", lessons};
    // As a share that refuses to be watched: the watch fails as soon as it starts.
    const auto failsAtEveryStart = [&](const std::wstring& folder, uint64_t forMs) {
        for (const uint64_t end = app.now + forMs; app.now < end; app.now += 50) {
            if (watch.Alive().count(folder)) form.Drive_Changed(watch.Fail(folder));
            form.Drive_CatchUp();
        }
    };
    ClickFolder(0);  // Week1
    const struct {
        const char* what;
        std::function<void()> happens;
        Folders alive, held;
        std::wstring current;
        Names files;
        int dir1Reads;
    } steps[] = {
        {"the file list's watch fails", [&] { Reports(watch.Fail(week1)); }, all, all, week1, {L"slides.ppt"}, 0},
        {"the open folder's watch fails", [&] { Reports(watch.Fail(lessons)); }, all, all, week1, {L"slides.ppt"}, 1},
        {"deleted on a stick: the request fails with access denied",
         [&] { disk.Remove(week1); form.Drive_Changed(watch.Fail(week1)); }, up, up, week1, {L"slides.ppt"}, 0},
        {"... and the lists catch up", [&] { CatchUp(); }, up, up, lessons, {L"a.doc"}, 0},
        {"a watch that fails at every start is retried less and less often",
         [&] { failsAtEveryStart(lessons, 10000); }, {L"E:\\"}, {L"E:\\"}, lessons, {L"a.doc"}, 4},
        {"F5 starts it at once", [&] { form.Form_Refresh(); }, up, up, lessons, {L"a.doc"}, 1},
        {"an overflow in a folder both lists watch",
         [&] {
             ClickFolder(0);  // Week2, opened, and the file list on Lessons
             form.Dir1_DblClick();
             ClickFolder(-2);
             disk.AddFile(L"E:\\Lessons\\b.doc");
             watch.unreported.insert(lessons);
             Reports({FolderReport::Kind::TooMany, week2, {}});
             if (watch.unreported.count(lessons))
                 Reports({FolderReport::Kind::Names, lessons, {{NameChange::Kind::Added, L"b.doc"}}});
         },
         {lessons, week2}, {lessons, week2}, lessons, {L"a.doc", L"b.doc"}, 2},
    };
    for (const auto& step : steps) {
        const int reads = dir1.setPathCalls;
        step.happens();
        EXPECT_EQ(watch.Alive(), step.alive) << step.what;
        EXPECT_EQ(watch.Held(), step.held) << step.what;
        EXPECT_EQ(State().CurrentFolder, step.current) << step.what;
        EXPECT_EQ(file1.Names(), step.files) << step.what;
        EXPECT_EQ(dir1.setPathCalls - reads, step.dir1Reads) << step.what;
    }
}

// Windows asks before it removes the drive: nothing is watched until the
// removal fails, or the drive comes back; then the lists are read again.
TEST_F(Clicks, RemovingTheDrive) {
    const std::set<std::wstring> watched{L"E:\\", L"E:\\Lessons"};
    form.Drive_QueryRemove();
    EXPECT_TRUE(watch.Alive().empty());
    EXPECT_TRUE(watch.askedToRemove);
    ClickFolder(0);  // clicks read folders, and watch none
    ClickFolder(-1);
    EXPECT_TRUE(watch.Alive().empty());

    disk.AddFile(L"E:\\Lessons\\while asked.doc");
    form.Drive_RemoveFailed();
    CatchUp();
    EXPECT_FALSE(watch.askedToRemove);
    EXPECT_EQ(watch.Alive(), watched);
    EXPECT_EQ(file1.Names(), (Names{L"a.doc", L"while asked.doc"}));

    form.Drive_QueryRemove();
    form.Drive_Removed();
    EXPECT_FALSE(watch.askedToRemove);
    disk.AddFile(L"E:\\Lessons\\while away.doc");
    disk.AddFolder(L"E:\\Lessons\\Week3");
    form.Drive_Arrived(L'F');  // another drive
    CatchUp();
    EXPECT_TRUE(watch.Alive().empty());
    form.Drive_Arrived(L'e');
    CatchUp();
    EXPECT_EQ(watch.Alive(), watched);
    EXPECT_EQ(dir1.Subfolders(), (Names{L"Week1", L"Week2", L"Week3"}));
    EXPECT_EQ(file1.Names(), (Names{L"a.doc", L"while asked.doc", L"while away.doc"}));

    // Pulled out without being asked: nothing stays held or watched until it
    // arrives again.
    form.Drive_Removed();
    EXPECT_TRUE(watch.Held().empty());
    ClickFolder(0);
    ClickFolder(-1);
    EXPECT_TRUE(watch.Held().empty());
    form.Drive_Arrived(L'E');
    CatchUp();
    EXPECT_EQ(watch.Alive(), watched);
}

TEST_F(Clicks, DoubleClickOnAFileOpensItAsTheButtonDoes) {
    form.File1_DblClick();  // nothing selected
    ClickFile(L"a.doc");
    form.File1_DblClick();
    EXPECT_EQ(app.messages, (std::vector<Message>{{L"请先选择文件", L"提示"}}));
    EXPECT_EQ(app.openedFiles, std::vector<std::wstring>{L"E:\\Lessons\\a.doc"});
}

// The last step of both buttons. Under Wine, what no Windows program takes
// goes to the Linux desktop, unless the desktop would run it or would not
// get its path as it is; what the desktop does not take, and everything on
// Windows, goes where it always went: "Open with" (Wine's fails) or Explorer.
TEST(Launch, UnderWineWhatNoWindowsProgramTakesGoesToTheDesktop) {
    const Result opened, noProgram = Result::NoProgram(L"无关联"), gone = Result::Failure(L"找不到文件。");
    const Result started, noOpener = Result::Failure(L"无");
    const struct {
        bool wine, isFile;
        std::wstring path;
        Result shell, desktop;  // the shell's answer (files only), winebrowser's outcome
        bool handed, fallback, ok;
    } cases[] = {
        {false, true, L"E:\\课\\讲义.odt", noProgram, started, false, true, false},  // Windows: as ever
        {false, true, L"E:\\课\\讲义.odt", opened, started, false, false, true},
        {false, false, L"E:\\课", {}, started, false, true, true},
        {true, true, L"E:\\课\\讲义 50% #1.odt", noProgram, started, true, false, true},
        {true, true, L"E:\\课\\讲义.odt", noProgram, noOpener, true, true, false},
        {true, true, L"E:\\课\\说明.txt", opened, started, false, false, true},  // Wine's Notepad
        {true, true, L"E:\\课\\gone.odt", gone, started, false, false, false},
        {true, true, L"E:\\课\\run me.sh", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\课件.desktop", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\安装.AppImage", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\Setup.RUN", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\README", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\v1.2\\README", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\讲义.odt\u00A0", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\讲\x01义.odt", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\讲\x85义.odt", noProgram, started, false, true, false},  // C1 controls too
        {true, true, L"E:\\课\\讲\x9F义.odt", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\讲\xA1义.odt", noProgram, started, true, false, true},
        // Only the kinds of file lessons are made of: the desktop runs what
        // it reads as a program or script, whatever its name.
        {true, true, L"E:\\课\\练习.qqq", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\课件.kdelnk", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\课件.jnlp", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\练习.py", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\讲义.docm", noProgram, started, false, true, false},
        {true, true, L"E:\\课\\讲义.DOC", noProgram, started, true, false, true},
        {true, true, L"E:\\课\\讲义.odp", noProgram, started, true, false, true},
        {true, true, L"E:\\课\\表格.et", noProgram, started, true, false, true},
        {true, true, L"E:\\课\\视频.mkv", noProgram, started, true, false, true},
        {true, true, L"E:\\课\\视频.3gp", noProgram, started, true, false, true},
        {true, false, L"E:\\课", {}, started, true, false, true},
        {true, false, L"E:\\", {}, started, true, false, true},
        {true, false, L"E:\\课", {}, noOpener, true, true, true},
        {true, false, L"E:\\\u00A0", {}, started, false, true, true},  // would open E:\ instead
        {true, false, L"E:\\课\\a\tb", {}, started, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        FakeDisk disk;
        FakeRunTime app{disk};
        app.underWine = c.wine;
        app.openResult = c.shell;
        app.desktopResult = c.desktop;
        app.openWithResult = Result::Failure(L"无关联的应用程序。");
        const Result result = c.isFile ? OpenFile(app, c.path) : ShowFolder(app, c.path);
        EXPECT_EQ(app.handedToDesktop, c.handed ? Names{c.path} : Names{});
        EXPECT_EQ((c.isFile ? app.openWithOffers : app.explorerStarts), c.fallback ? Names{c.path} : Names{});
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.reason, c.ok ? L"" : c.fallback ? L"无关联的应用程序。" : c.shell.reason);
    }
}

// Characters typed in quick succession select by prefix, ignoring case; a
// pause starts anew; a new selection counts as a click.
TEST_F(Clicks, TypingSelectsTheFirstNameStartingWithIt) {
    for (const wchar_t* name : {L"apple.txt", L"banana.txt", L"berry.txt", L"blueberry.txt", L"练习1.doc", L"练习2.doc"})
        disk.AddFile(L"E:\\Lessons\\" + std::wstring(name));
    form.Form_Refresh();
    const struct {
        std::wstring keys;
        uint64_t after;  // ms since the last key, before these keys
        std::wstring selected;
        bool inDir1 = false;
    } cases[] = {
        {L"ber", 5000, L"berry.txt"},
        {L"BL", 5000, L"blueberry.txt"},
        {L"b", 5000, L"banana.txt"},
        {L"a", 200, L"banana.txt"},     // "ba" still
        {L"练", 1500, L"练习1.doc"},     // after a pause, a character from an input method
        {L"z", 5000, L"练习1.doc"},      // in no name: the selection stays
        {L"\r", 5000, L"练习1.doc"},     // a control key is no part of a name
        {L"les", 5000, L"练习1.doc", true},  // the folder highlighted already: no click
    };
    for (const auto& c : cases) {
        app.now += c.after;
        for (const wchar_t key : c.keys) {
            c.inDir1 ? form.Dir1_KeyPress(key) : form.File1_KeyPress(key);
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

// A burst of changes is applied once it pauses, or about four times a
// second while it lasts; a folder to be read whole waits up to a second.
// The host asks every 50 ms.
TEST(DriveChanges, BurstsAreAppliedOnceNotPerChange) {
    using Kind = FolderReport::Kind;
    const struct {
        Kind kind;
        int changes, gapMs;
        int expectedBatches;
        int namesEach = 1;
    } cases[] = {
        {Kind::Names, 1, 0, 1},
        {Kind::Names, 1, 0, 1, 1000},  // still placed name by name
        {Kind::Names, 900, 1, 4},    // 900 files copied in a second
        {Kind::Names, 100, 50, 17},  // a slow copy of five seconds
        {Kind::Names, 3, 400, 3},    // three changes far apart
        {Kind::TooMany, 1000, 1, 1},
        {Kind::TooMany, 100, 50, 5},
    };
    for (const auto& c : cases) {
        DriveChanges changes;
        int batches = 0;
        uint64_t nextChange = 0, now = 0;
        for (int seen = 0; seen < c.changes || changes.Waiting(); now += 1) {
            if (seen < c.changes && now == nextChange) {
                changes.Seen({c.kind, L"E:\\Lessons", std::vector<NameChange>(c.namesEach, {NameChange::Kind::Added, std::to_wstring(seen)})}, now);
                ++seen;
                nextChange = now + c.gapMs;
            }
            if (now % 50 != 0) continue;
            for (const FolderReport& report : changes.TakeDue(now).reports) {
                EXPECT_EQ(report.kind, c.kind);
                ++batches;
            }
        }
        EXPECT_EQ(batches, c.expectedBatches) << c.changes << " changes " << c.gapMs << " ms apart";
    }

    // Lost changes or a failure outweigh the names, and so do too many names.
    DriveChanges changes;
    changes.Seen({Kind::Names, L"E:\\A", {{NameChange::Kind::Added, L"a"}}}, 0);
    changes.Seen({Kind::Failure, L"E:\\A", {}}, 0);
    changes.Seen({Kind::TooMany, L"E:\\A", {}}, 0);
    for (int i = 0; i < 1001; ++i) changes.Seen({Kind::Names, L"E:\\B", {{NameChange::Kind::Added, L"b"}}}, 0);
    const DriveChanges::Due due = changes.TakeDue(5000);
    ASSERT_EQ(due.reports.size(), 2u);
    EXPECT_EQ(due.reports[0].kind, Kind::Failure);
    EXPECT_EQ(due.reports[1].kind, Kind::TooMany);
    EXPECT_TRUE(due.reports[1].names.empty());
}

// A watch that fails again within a second of being started anew is held
// back, each time twice as long, up to a minute; a good report starts the
// waits again at a second. While a failure is held the loop must not sleep
// without a time-out, so Waiting() says so.
TEST(DriveChanges, AWatchThatFailsAtEveryStartIsRetriedLessAndLessOften) {
    using Kind = FolderReport::Kind;
    const std::wstring folder = L"E:\\Share";
    const struct {
        uint64_t failsAfterMs;
        bool goodReportFirst;
        uint64_t heldMs;
    } cases[] = {
        {50, false, 1000}, {50, false, 2000}, {999, false, 4000}, {50, false, 8000}, {50, false, 16000},
        {50, false, 32000}, {50, false, 60000}, {50, false, 60000},
        {50, true, 1000}, {50, false, 2000},
        {1000, false, 0},  // a second after the start: a failure as any other
    };
    constexpr uint64_t kQuietMs = 250;  // what any failure then waits for the burst to pause
    DriveChanges changes;
    uint64_t now = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.failsAfterMs << " ms after the start, held " << c.heldMs);
        if (c.goodReportFirst) {
            changes.Restarted(folder, now);
            changes.Seen({Kind::Names, folder, {{NameChange::Kind::Added, L"a"}}}, now += 10);
            changes.TakeDue(now += 1000);
        }
        changes.Restarted(folder, now);
        changes.Seen({Kind::Failure, folder, {}}, now += c.failsAfterMs);
        const uint64_t failed = now;
        bool handedOn = false;
        while (!handedOn && now < failed + 120000) {
            EXPECT_TRUE(changes.Waiting());
            now += 10;
            for (const FolderReport& report : changes.TakeDue(now).reports) handedOn |= report.kind == Kind::Failure;
        }
        EXPECT_EQ(now - failed, c.heldMs + kQuietMs);
        EXPECT_FALSE(changes.Waiting());
    }
}

}  // namespace

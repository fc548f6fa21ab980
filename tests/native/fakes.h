#pragma once
// Fakes of the run-time services and the two lists, over a small in-memory
// disk, so the window's logic can be driven without Windows.
#include <iconv.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "folder_watch.h"
#include "listing.h"
#include "lists.h"
#include "path_parts.h"
#include "runtime.h"

// Converts bytes to wchar_t text with glibc's iconv (GBK stands in for the
// system ANSI code page of a Chinese Windows).
inline std::wstring ConvertToWide(std::string_view bytes, const char* from) {
    iconv_t cd = iconv_open("WCHAR_T", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
    std::wstring out;
    std::string in(bytes);
    char* inPtr = in.data();
    size_t inLeft = in.size();
    wchar_t buffer[256];
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof buffer;
        size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, (sizeof buffer - outLeft) / sizeof(wchar_t));
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {  // unreadable byte
            out += L'\xFFFD';
            ++inPtr;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

inline std::string Gbk(const std::wstring& text) {
    iconv_t cd = iconv_open("GBK", "WCHAR_T");
    std::string out(text.size() * 4 + 4, '\0');
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
    size_t inLeft = text.size() * sizeof(wchar_t);
    char* outPtr = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

inline std::wstring StripTrailingBackslash(std::wstring path) {
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

// The file system reads a doubled backslash inside a path as one.
inline std::wstring WithSingleBackslashes(std::wstring path) {
    for (size_t at; (at = path.find(L"\\\\")) != std::wstring::npos;) path.erase(at, 1);
    return path;
}

// Where the Windows lists find text in a name, ignoring case: at its start
// (0), further on, or nowhere (npos).
inline size_t FindIgnoringCase(std::wstring name, std::wstring text) {
    for (auto* s : {&name, &text})
        for (wchar_t& c : *s) c = c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c;
    return name.find(text);
}

// The first of names starting with text, or failing that holding it; -1 if none.
inline int FirstMatching(const std::vector<std::wstring>& names, const std::wstring& text) {
    for (const bool anywhere : {false, true})
        for (size_t i = 0; i < names.size(); ++i) {
            const size_t at = FindIgnoringCase(names[i], text);
            if (anywhere ? at != std::wstring::npos : at == 0) return static_cast<int>(i);
        }
    return -1;
}

// Adds name to the sorted names, in its place, unless it is there.
inline void InsertSorted(std::vector<std::wstring>& names, const std::wstring& name) {
    const auto at = std::lower_bound(names.begin(), names.end(), name);
    if (at == names.end() || *at != name) names.insert(at, name);
}

// Folders and files by full path. Folders are given without a trailing
// backslash, except drive roots ("E:\").
struct FakeDisk {
    std::set<std::wstring> folders;
    std::set<std::wstring> hiddenFolders;
    std::set<std::wstring> unlistable;        // exist, but listing them fails
    std::map<std::wstring, std::string> files;
    std::set<std::wstring> hiddenFiles;
    std::set<std::wstring> unreadable;
    std::set<std::wstring> otherNames;        // paths the disk knows by another name (short names)

    void AddFolder(const std::wstring& folder) {
        for (std::wstring f = folder; !f.empty(); f = ParentFolder(f)) folders.insert(f);
    }
    void AddFile(const std::wstring& path, std::string bytes = {}) {
        AddFolder(ParentFolder(path));
        files[path] = std::move(bytes);
    }
    bool CanList(const std::wstring& folder) const {
        return folders.count(folder) && !unlistable.count(folder);
    }
    // Removes folder and everything in it.
    void Remove(const std::wstring& folder) {
        std::erase_if(folders, [&](const std::wstring& f) { return f == folder || f.starts_with(folder + L"\\"); });
        std::erase_if(files, [&](const auto& file) { return file.first.starts_with(folder + L"\\"); });
    }
    // Every entry of folder, as the disk reports it.
    std::vector<FolderEntry> EntriesOf(const std::wstring& folder) const {
        std::vector<FolderEntry> entries;
        for (const auto& f : folders)
            if (ParentFolder(f) == folder) entries.push_back({LastName(f), true, hiddenFolders.count(f) > 0});
        for (const auto& [path, bytes] : files)
            if (ParentFolder(path) == folder) entries.push_back({LastName(path), false, hiddenFiles.count(path) > 0});
        return entries;
    }
    // How the lists show path, one of the disk's folders or files.
    Listing ListingOf(const std::wstring& path) const {
        const bool folder = folders.count(path) > 0;
        const FolderEntry entry{LastName(path), folder, (folder ? hiddenFolders : hiddenFiles).count(path) > 0};
        return ::ListingOf(entry, EntriesOf(ParentFolder(path)));
    }
    bool Shows(const std::wstring& path) const { return ListingOf(path) != Listing::Unlisted; }
    // What the lists show of folder, as the scanner finds it.
    ListedEntries ListedIn(const std::wstring& folder) const {
        FolderLister lister;
        for (FolderEntry& entry : EntriesOf(folder)) lister.Add(std::move(entry));
        return lister.Done();
    }
    std::vector<std::wstring> FileNamesIn(const std::wstring& folder) const {
        std::vector<std::wstring> names;
        for (Listed& file : ListedIn(folder).files) names.push_back(std::move(file.name));
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::wstring> SubfoldersOf(const std::wstring& folder) const {
        std::vector<std::wstring> result;
        for (const Listed& subfolder : ListedIn(folder).folders) result.push_back(JoinPath(folder, subfolder.name));
        std::sort(result.begin(), result.end());
        return result;
    }
};

struct Message {
    std::wstring prompt, title;
    bool operator==(const Message&) const = default;
};

class FakeRunTime : public RunTime {
public:
    explicit FakeRunTime(FakeDisk& disk, std::wstring programFolder = L"E:\\")
        : disk_(disk), programFolder_(std::move(programFolder)) {}

    std::wstring ProgramFolder() override { return programFolder_; }

    bool IsVisibleFile(const std::wstring& path) override {
        const std::wstring normal = WithSingleBackslashes(path);
        return disk_.files.count(normal) && disk_.ListingOf(normal) == Listing::Plain;
    }
    bool IsVisibleFolder(const std::wstring& path) override {
        const std::wstring folder = StripTrailingBackslash(WithSingleBackslashes(path));
        return disk_.folders.count(folder) && disk_.Shows(folder);
    }
    Entry EntryNamed(const std::wstring& folder, const std::wstring& name) override {
        const std::wstring path = JoinPath(folder, name);
        if (disk_.otherNames.count(path)) return {Entry::OtherName};
        const bool folderNamed = disk_.folders.count(path) > 0;
        if (!folderNamed && !disk_.files.count(path)) return {Entry::None};
        const Listing listing = disk_.ListingOf(path);
        if (listing == Listing::Unlisted) return {Entry::Unlisted};
        return {folderNamed ? Entry::Folder : Entry::File, listing == Listing::Faded};
    }
    Result ReadSettingsFile(const std::wstring& path, std::string& bytes) override {
        const std::wstring normal = WithSingleBackslashes(path);
        if (disk_.unreadable.count(normal)) return Result::Failure(L"拒绝访问。");
        bytes = disk_.files.at(normal);
        return Result::Success();
    }
    std::wstring Decode(std::string_view bytes, TextEncoding encoding) override {
        switch (encoding) {
            case TextEncoding::Ansi: return ConvertToWide(bytes, "GBK");
            case TextEncoding::Utf8: return ConvertToWide(bytes, "UTF-8");
            case TextEncoding::Utf16LE: return ConvertToWide(bytes, "UTF-16LE");
            case TextEncoding::Utf16BE: return ConvertToWide(bytes, "UTF-16BE");
        }
        return {};
    }
    uint64_t Milliseconds() override { return now; }
    void MsgBox(const std::wstring& prompt, const std::wstring& title) override {
        messages.push_back({prompt, title});
    }
    Result StartExplorer(std::wstring folder) override {
        explorerStarts.push_back(folder);
        return explorerResult;
    }
    Result OpenWithAssociatedProgram(std::wstring file) override {
        openedFiles.push_back(file);
        return openResult;
    }
    Result EntriesOf(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        if (!disk_.CanList(folder)) return Result::Failure(L"拒绝访问。");
        entries = disk_.EntriesOf(folder);
        return Result::Success();
    }
    Result OfferOpenWith(std::wstring file) override {
        openWithOffers.push_back(file);
        return openWithResult;
    }
    bool RunsUnderWine() override { return underWine; }
    Result HandToDesktop(std::wstring path) override {
        handedToDesktop.push_back(path);
        return desktopResult;
    }

    std::vector<Message> messages;
    std::vector<std::wstring> explorerStarts;
    std::vector<std::wstring> openedFiles, openWithOffers, handedToDesktop;
    Result explorerResult, openResult, openWithResult, desktopResult;
    bool underWine = false;
    uint64_t now = 0;

private:
    FakeDisk& disk_;
    std::wstring programFolder_;
};

class FakeFolderList : public FolderList {
public:
    FakeFolderList(const FakeDisk& disk, std::wstring initialFolder)
        : disk_(disk), path_(std::move(initialFolder)) {}

    std::wstring Path() const override { return path_; }
    Result SetPath(const std::wstring& folder) override {
        ++setPathCalls;
        const std::wstring normal = StripTrailingBackslash(WithSingleBackslashes(folder));
        if (!disk_.CanList(normal)) return Result::Failure(L"找不到路径。");
        path_ = normal;
        subfolders_ = disk_.SubfoldersOf(normal);  // as the real list, what it read then
        index_ = -1;
        return Result::Success();
    }
    int ListIndex() const override { return index_; }
    std::wstring List(int index) const override {
        if (index < 0) {
            std::wstring folder = path_;
            for (int up = -1; up > index; --up) folder = ParentFolder(folder);
            return folder;
        }
        return subfolders_.at(index);
    }
    bool Highlight(const std::wstring& folder) override {
        for (int index : Indexes()) {
            if (List(index) != folder) continue;
            index_ = index;
            return true;
        }
        return false;
    }
    bool HighlightFirstMatching(const std::wstring& text) override {
        const std::vector<int> indexes = Indexes();
        std::vector<std::wstring> names;
        for (int index : indexes) names.push_back(LastName(List(index)));
        const int found = FirstMatching(names, text);
        if (found >= 0) index_ = indexes[found];
        return found >= 0;
    }
    void Change(const std::vector<Listed>& add, const std::vector<std::wstring>& drop) override {
        const std::wstring highlighted = index_ >= 0 ? subfolders_.at(index_) : L"";
        for (const auto& name : drop) std::erase(subfolders_, JoinPath(path_, name));
        for (const auto& listed : add) InsertSorted(subfolders_, JoinPath(path_, listed.name));
        if (index_ >= 0) {
            const auto at = std::find(subfolders_.begin(), subfolders_.end(), highlighted);
            index_ = at == subfolders_.end() ? -1 : static_cast<int>(at - subfolders_.begin());
        }
    }
    // The subfolders listed, by name.
    std::vector<std::wstring> Subfolders() const {
        std::vector<std::wstring> names;
        for (const auto& folder : subfolders_) names.push_back(LastName(folder));
        return names;
    }
    // Every ListIndex in list order: the root down to the open folder, then its subfolders.
    std::vector<int> Indexes() const {
        std::vector<int> indexes;
        for (int i = -1; !List(i).empty(); --i) indexes.insert(indexes.begin(), i);
        for (size_t i = 0; i < subfolders_.size(); ++i) indexes.push_back(static_cast<int>(i));
        return indexes;
    }

    // What the user does: moves the highlight to entry index.
    void UserHighlights(int index) { index_ = index; }

    int setPathCalls = 0;

private:
    const FakeDisk& disk_;
    std::wstring path_;
    std::vector<std::wstring> subfolders_;
    int index_ = -1;
};

class FakeFileList : public FileList {
public:
    explicit FakeFileList(const FakeDisk& disk) : disk_(disk) {}

    std::wstring Path() const override { return path_; }
    Result SetPath(const std::wstring& folder) override {
        ++setPathCalls;
        if (!disk_.CanList(folder)) return Result::Failure(L"找不到路径。");
        path_ = folder;
        names_ = disk_.FileNamesIn(folder);  // as the real list, what it read then
        faded_.clear();
        for (const Listed& file : disk_.ListedIn(folder).files)
            if (file.faded) faded_.insert(file.name);
        selected_.clear();
        return Result::Success();
    }
    std::wstring FileName() const override { return selected_; }
    bool Select(const std::wstring& name) override {
        selected_ = std::find(names_.begin(), names_.end(), name) != names_.end() ? name : L"";
        return !selected_.empty();
    }
    void Change(const std::vector<Listed>& add, const std::vector<std::wstring>& drop) override {
        for (const auto& name : drop) {
            std::erase(names_, name);
            faded_.erase(name);
        }
        for (const auto& listed : add) {
            InsertSorted(names_, listed.name);
            if (listed.faded) faded_.insert(listed.name);
            else faded_.erase(listed.name);
        }
        if (std::find(names_.begin(), names_.end(), selected_) == names_.end()) selected_.clear();
    }
    const std::vector<std::wstring>& Names() const { return names_; }
    // The names drawn faded, in order.
    std::vector<std::wstring> Faded() const { return {faded_.begin(), faded_.end()}; }
    bool SelectFirstMatching(const std::wstring& text) override {
        const int found = FirstMatching(names_, text);
        if (found >= 0) selected_ = names_[found];
        return found >= 0;
    }

    // What the user does: selects the file named name.
    void UserSelects(const std::wstring& name) { selected_ = name; }

    int setPathCalls = 0;

private:
    const FakeDisk& disk_;
    std::wstring path_, selected_;
    std::vector<std::wstring> names_;
    std::set<std::wstring> faded_;
};

// Watches as the Win32 ones behave: a watch on a folder that is not there
// cannot start, and one that has failed stays dead until it is stopped.
class FakeFolderWatch : public FolderWatch {
public:
    explicit FakeFolderWatch(const FakeDisk& disk) : disk_(disk) {}

    void Start(const std::wstring& folder) override {
        const std::wstring normal = StripTrailingBackslash(WithSingleBackslashes(folder));
        if (!watches.count(normal) && disk_.folders.count(normal)) watches[normal] = true;
    }
    void Stop(const std::wstring& folder) override {
        const std::wstring normal = StripTrailingBackslash(WithSingleBackslashes(folder));
        watches.erase(normal);
        Ended();
    }
    void LetGo(const std::wstring& folder) override {
        if (watches.count(folder) && !watches[folder]) letGo.insert(folder);
    }
    void KeepOnly(const std::vector<std::wstring>& folders) override {
        std::erase_if(watches, [&](const auto& watch) {
            return std::find(folders.begin(), folders.end(), watch.first) == folders.end();
        });
        Ended();
    }
    void LetGoOfTheDrive() override {
        watches.clear();
        Ended();
        askedToRemove = true;
    }
    void ForgetTheDrive() override { askedToRemove = false; }

    // The folders watched and alive.
    std::set<std::wstring> Alive() const {
        std::set<std::wstring> alive;
        for (const auto& [folder, ok] : watches)
            if (ok) alive.insert(folder);
        return alive;
    }
    // The folders held open: watched, or failed and not let go of.
    std::set<std::wstring> Held() const {
        std::set<std::wstring> held;
        for (const auto& [folder, ok] : watches)
            if (!letGo.count(folder)) held.insert(folder);
        return held;
    }
    // The watch on folder fails, as it does when its folder goes.
    FolderReport Fail(const std::wstring& folder) {
        watches[folder] = false;
        return {FolderReport::Kind::Failure, folder, {}};
    }

    std::map<std::wstring, bool> watches;  // folder: alive
    std::set<std::wstring> letGo;          // failed, and no longer held open
    std::set<std::wstring> unreported;     // have changes to report: lost when the watch ends
    bool askedToRemove = false;            // registered to hear how a removal ends

private:
    // What watches that ended had not reported is lost.
    void Ended() {
        std::erase_if(letGo, [&](const std::wstring& folder) { return !watches.count(folder); });
        std::erase_if(unreported, [&](const std::wstring& folder) { return !watches.count(folder); });
    }

    const FakeDisk& disk_;
};

#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "listing.h"
#include "result.h"

// How the bytes of a text file are turned into text.
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// What a folder holds under a name, as the lists see it. Unlisted: an
// entry the lists do not show (listing.h). OtherName: the disk knows the
// entry by another name (an 8.3 short name, other letter case) or cannot
// tell; read the folder whole.
struct Entry {
    enum Kind { None, Folder, File, Unlisted, OtherName } kind = None;
    bool faded = false;  // listed, and drawn faded
};

// The run-time services the program's logic relies on: the program folder,
// file and folder tests, reading and decoding the settings file, message
// boxes, and starting other programs. Win32 implements it; tests fake it.
class RunTime {
public:
    virtual ~RunTime() = default;

    // Folder of the running executable; ends with "\" only at a drive root.
    virtual std::wstring ProgramFolder() = 0;

    // True when path names a file that is neither hidden nor a system file.
    virtual bool IsVisibleFile(const std::wstring& path) = 0;

    // True when path names an existing folder the lists show (listing.h).
    // A drive root always counts; wildcards and names no folder can have
    // never do.
    virtual bool IsVisibleFolder(const std::wstring& path) = 0;

    // What folder holds under name now.
    virtual Entry EntryNamed(const std::wstring& folder, const std::wstring& name) = 0;

    // Every entry of folder now, hidden ones included; when it cannot be
    // read, none, and the reason.
    virtual Result EntriesOf(const std::wstring& folder, std::vector<FolderEntry>& entries) = 0;

    // The settings file's bytes, or the system's reason why they cannot be
    // read. A file too large to be a settings file (over 256 MB) is refused.
    virtual Result ReadSettingsFile(const std::wstring& path, std::string& bytes) = 0;

    // Bytes to text; a sequence the encoding cannot read becomes U+FFFD or
    // the code page's default character, never an error.
    virtual std::wstring Decode(std::string_view bytes, TextEncoding encoding) = 0;

    // A steady clock in milliseconds, to tell quick keys from a pause.
    virtual uint64_t Milliseconds() = 0;

    // A modal box with one OK button; returns when it is closed.
    virtual void MsgBox(const std::wstring& prompt, const std::wstring& title) = 0;

    // Shows folder in the system's file manager; does not wait. A folder that
    // no longer exists is a failure, and Explorer is not started.
    virtual Result StartExplorer(std::wstring folder) = 0;

    // Opens file with the program the system associates with it, started in
    // the file's folder; does not wait. With no program for its type, the
    // failure says so (noProgram). These take their own copy of the path: the
    // shell may pump window messages meanwhile, and a click may then change
    // the caller's.
    virtual Result OpenWithAssociatedProgram(std::wstring file) = 0;

    // The system's "Open with" choice for a file of a type no program is
    // associated with. A cancelled choice counts as success.
    virtual Result OfferOpenWith(std::wstring file) = 0;

    // True when the program runs under Wine rather than on Windows.
    virtual bool RunsUnderWine() = 0;

    // Under Wine: hands an existing file or folder to the Linux desktop,
    // which opens it in its own program (Wine's winebrowser starts the
    // desktop's opener). Waits for that at most about 5 s, the window's
    // messages handled meanwhile, but not its input. Failure: no opener was
    // started.
    virtual Result HandToDesktop(std::wstring path) = 0;
};

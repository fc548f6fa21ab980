#pragma once
#include <string>
#include <string_view>

#include "platform/result.h"

// How the bytes of a text file are turned into text.
enum class TextEncoding { Ansi, Utf8, Utf16LE };

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

    // True when path names an existing folder that is not hidden. A drive
    // root always counts; wildcards and names no folder can have never do.
    virtual bool IsVisibleFolder(const std::wstring& path) = 0;

    // The whole file's bytes, or the system's reason why they cannot be read.
    virtual Result ReadWholeFile(const std::wstring& path, std::string& bytes) = 0;

    // Bytes to text; a sequence the encoding cannot read becomes U+FFFD or
    // the code page's default character, never an error.
    virtual std::wstring Decode(std::string_view bytes, TextEncoding encoding) = 0;

    // A modal box with one OK button; returns when it is closed.
    virtual void MsgBox(const std::wstring& prompt, const std::wstring& title) = 0;

    // Shows folder in the system's file manager; does not wait.
    virtual Result StartExplorer(const std::wstring& folder) = 0;

    // Opens file with the program the system associates with it; does not wait.
    // A cancelled "Open with" choice counts as success.
    virtual Result OpenWithAssociatedProgram(const std::wstring& file) = 0;
};

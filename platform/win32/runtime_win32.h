#pragma once
#include <windows.h>

#include "runtime.h"

// The run-time services on the Win32 API, wide-character throughout: the
// ANSI code page is used only to decode the settings file.
class Win32RunTime : public RunTime {
public:
    std::wstring ProgramFolder() override;
    bool IsVisibleFile(const std::wstring& path) override;
    bool IsVisibleFolder(const std::wstring& path) override;
    Entry EntryNamed(const std::wstring& folder, const std::wstring& name) override;
    Result EntriesOf(const std::wstring& folder, std::vector<FolderEntry>& entries) override;
    Result ReadSettingsFile(const std::wstring& path, std::string& bytes) override;
    std::wstring Decode(std::string_view bytes, TextEncoding encoding) override;
    uint64_t Milliseconds() override { return GetTickCount64(); }
    void MsgBox(const std::wstring& prompt, const std::wstring& title) override;
    Result StartExplorer(std::wstring folder) override;
    Result OpenWithAssociatedProgram(std::wstring file) override;
    Result OfferOpenWith(std::wstring file) override;
    bool RunsUnderWine() override;
    Result HandToDesktop(std::wstring path) override;

    // Message boxes and the shell's windows belong to owner once it is shown;
    // before that (start-up) they stand alone.
    void SetOwner(HWND owner) { owner_ = owner; }

private:
    DWORD RunShellVerb(const wchar_t* verb, const std::wstring& file);

    HWND owner_ = nullptr;
};

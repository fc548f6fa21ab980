#include "decoys.h"

#include <algorithm>
#include <array>

#include "visible_text.h"

namespace {

using namespace std::string_view_literals;

// Programs, scripts and shortcuts: whatever a double-click runs.
constexpr std::array kDecoyExtensions{
    L".exe"sv, L".scr"sv, L".com"sv, L".pif"sv, L".bat"sv, L".cmd"sv, L".vbs"sv, L".vbe"sv, L".js"sv, L".jse"sv,
    L".wsf"sv, L".wsh"sv, L".hta"sv, L".cpl"sv, L".lnk"sv, L".url"sv, L".msi"sv, L".msp"sv, L".msc"sv, L".jar"sv,
    L".chm"sv, L".reg"sv, L".scf"sv, L".ps1"sv, L".appref-ms"sv, L".application"sv, L".settingcontent-ms"sv,
    L".diagcab"sv, L".gadget"sv, L".wsc"sv, L".sct"sv};
constexpr std::array kScriptExtensions{L".bat"sv, L".cmd"sv, L".vbs"sv, L".vbe"sv, L".js"sv,
                                       L".jse"sv, L".wsf"sv, L".wsh"sv, L".hta"sv, L".ps1"sv};
constexpr std::array kShortcutExtensions{L".lnk"sv, L".url"sv};

// The hidden system folders that Windows, disk checks and "immunising"
// tools make, besides any name that begins with "$" or "." and FOUND.000
// to FOUND.999.
constexpr std::array kSystemFolders{L"RECYCLER"sv, L"RECYCLED"sv, L"System Volume Information"sv, L"autorun.inf"sv};

// The upper case Windows compares names in, for the scripts names on a
// classroom stick are written in: Latin, Greek, Cyrillic, full-width Latin.
wchar_t Upper(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A))
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
    return c;
}

// Characters that show nothing: spaces of every width, zero-width and
// joining characters, direction marks, fillers, variation selectors and tags.
bool IsBlank(char32_t c) {
    return c == 0x20 || c == 0xA0 || c == 0xAD || c == 0x34F || c == 0x61C || c == 0x115F || c == 0x1160 ||
           c == 0x1680 || c == 0x17B4 || c == 0x17B5 || c == 0x180E || (c >= 0x2000 && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202F) || (c >= 0x205F && c <= 0x2069 && c != 0x2065) || c == 0x2800 ||
           c == 0x3000 || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || c == 0xFFA0 ||
           (c >= 0xE0020 && c <= 0xE007F);
}

bool EndsWithAny(std::wstring_view name, std::span<const std::wstring_view> extensions) {
    return std::any_of(extensions.begin(), extensions.end(), [&](std::wstring_view extension) {
        return name.size() > extension.size() && SameName(name.substr(name.size() - extension.size()), extension);
    });
}

bool IsMadeBySystem(std::wstring_view folder) {
    const auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    if (folder.starts_with(L'$') || folder.starts_with(L'.')) return true;
    const bool found = folder.size() == 9 && SameName(folder.substr(0, 6), L"FOUND.");  // FOUND.000 to FOUND.999
    if (found && std::all_of(folder.begin() + 6, folder.end(), isDigit)) return true;
    return std::any_of(kSystemFolders.begin(), kSystemFolders.end(), [&](auto name) { return SameName(folder, name); });
}

bool IsDecoyNamed(std::wstring_view name) { return !ImitatedName(name).empty(); }

// Whether file, a program or shortcut, is named after entry: by its whole
// name, or, a shortcut beside a file, by the file's name up to its first
// or its last dot ("课件.lnk" for "课件.pptx").
bool Imitates(std::wstring_view file, const FolderEntry& entry) {
    const std::wstring_view imitated = ImitatedName(file), name = entry.name;
    if (imitated.empty()) return false;
    if (SameName(imitated, name)) return true;
    if (entry.folder || !IsShortcut(file)) return false;
    return SameName(imitated, name.substr(0, name.find(L'.'))) || SameName(imitated, name.substr(0, name.rfind(L'.')));
}

}  // namespace

bool IsBlankName(std::wstring_view name) {
    for (size_t at = 0; at < name.size();)
        if (!IsBlank(NextCharacter(name, at))) return false;
    return !name.empty();
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) { return Upper(x) == Upper(y); });
}

bool IsShortcut(std::wstring_view file) { return EndsWithAny(file, kShortcutExtensions); }

std::wstring_view ImitatedName(std::wstring_view file) {
    for (const std::wstring_view extension : kDecoyExtensions)
        if (file.size() > extension.size() && SameName(file.substr(file.size() - extension.size()), extension))
            return file.substr(0, file.size() - extension.size());
    return {};
}

std::vector<std::wstring> DecoyNames(const FolderEntry& hidden) {
    std::vector<std::wstring> names;
    names.reserve(kDecoyExtensions.size() + 4);
    for (const std::wstring_view extension : kDecoyExtensions) names.push_back(hidden.name + std::wstring(extension));
    for (const size_t dot : {hidden.name.find(L'.'), hidden.name.rfind(L'.')})
        for (const std::wstring_view extension : kShortcutExtensions)
            if (!hidden.folder && dot != std::wstring::npos && dot > 0)
                names.push_back(hidden.name.substr(0, dot) + std::wstring(extension));
    return names;
}

bool ShowsHidden(const FolderEntry& hidden, std::span<const FolderEntry> beside) {
    if (!hidden.folder && IsDecoyNamed(hidden.name)) return false;
    if (hidden.folder && (IsBlankName(hidden.name) || (hidden.system && !IsMadeBySystem(hidden.name)))) return true;
    return std::any_of(beside.begin(), beside.end(), [&](const FolderEntry& entry) {
        return !entry.folder && IsVisible(entry) && Imitates(entry.name, hidden);
    });
}

std::optional<Decoy> FindDecoy(std::wstring_view file, std::span<const FolderEntry> entries, bool underWine) {
    if (!IsDecoyNamed(file)) return std::nullopt;
    for (const FolderEntry& entry : entries) {
        if (SameName(entry.name, file)) {
            if (entry.hidden) return Decoy{Decoy::Kind::Hidden, {}};
        } else if ((entry.hidden || underWine) && Imitates(file, entry)) {
            if (!entry.folder && IsDecoyNamed(entry.name)) return Decoy{Decoy::Kind::OfProgram, {}};
            return Decoy{entry.folder ? Decoy::Kind::OfFolder : Decoy::Kind::OfFile, entry.name};
        }
    }
    if (!IsShortcut(file) && !EndsWithAny(file, kScriptExtensions)) return std::nullopt;
    for (const FolderEntry& entry : entries) {
        if (entry.folder && (entry.hidden || underWine) && IsBlankName(entry.name))
            return Decoy{Decoy::Kind::BesideBlankFolder, {}};
    }
    return std::nullopt;
}

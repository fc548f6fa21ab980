#include "decoys.h"

#include <algorithm>
#include <array>

namespace {

using namespace std::string_view_literals;

constexpr std::array kDecoyExtensions{L".exe"sv, L".scr"sv, L".com"sv, L".pif"sv, L".bat"sv, L".cmd"sv,
                                      L".vbs"sv, L".vbe"sv, L".js"sv,  L".jse"sv, L".wsf"sv, L".wsh"sv,
                                      L".hta"sv, L".cpl"sv, L".lnk"sv, L".url"sv};

// The upper case Windows compares names in, for the scripts names on a
// classroom stick are written in: Latin, Greek, Cyrillic, full-width Latin.
wchar_t Upper(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A))
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
    return c;
}

bool IsBlank(wchar_t c) {
    return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200D) || c == 0x202F ||
           (c >= 0x205F && c <= 0x2064) || c == 0x3000 || c == 0x3164 || c == 0xFFA0 || c == 0x2800 || c == 0xFEFF;
}

bool IsShortcut(std::wstring_view file) {
    return file.size() > 4 && (SameName(file.substr(file.size() - 4), L".lnk") || SameName(file.substr(file.size() - 4), L".url"));
}

}  // namespace

std::span<const std::wstring_view> DecoyExtensions() { return kDecoyExtensions; }

bool IsBlankName(std::wstring_view name) { return !name.empty() && std::all_of(name.begin(), name.end(), IsBlank); }

bool SameName(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) { return Upper(x) == Upper(y); });
}

std::wstring_view ImitatedName(std::wstring_view file) {
    for (const std::wstring_view extension : kDecoyExtensions)
        if (file.size() > extension.size() && SameName(file.substr(file.size() - extension.size()), extension))
            return file.substr(0, file.size() - extension.size());
    return {};
}

bool ShowsHidden(const FolderEntry& hidden, std::span<const FolderEntry> beside) {
    if (hidden.folder && IsBlankName(hidden.name)) return true;
    return std::any_of(beside.begin(), beside.end(), [&](const FolderEntry& entry) {
        return !entry.folder && IsVisible(entry) && SameName(ImitatedName(entry.name), hidden.name);
    });
}

std::optional<Decoy> FindDecoy(std::wstring_view file, std::span<const FolderEntry> entries, bool underWine) {
    const std::wstring_view imitated = ImitatedName(file);
    if (imitated.empty()) return std::nullopt;
    for (const FolderEntry& entry : entries) {
        if ((entry.hidden || (underWine && entry.folder)) && SameName(entry.name, imitated))
            return Decoy{entry.folder ? Decoy::Kind::OfFolder : Decoy::Kind::OfFile, entry.name};
    }
    if (!IsShortcut(file)) return std::nullopt;
    for (const FolderEntry& entry : entries) {
        if (entry.folder && (entry.hidden || underWine) && IsBlankName(entry.name))
            return Decoy{Decoy::Kind::BesideBlankFolder, {}};
    }
    return std::nullopt;
}

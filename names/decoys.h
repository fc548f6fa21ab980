#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "listing.h"

// What the viruses that pass from stick to stick on classroom PCs leave
// behind, told from a folder's entries. One kind hides each lesson folder
// and puts a program of the same name beside it ("第一周.exe", with a
// folder's icon); another leaves a shortcut ("第一周.lnk"), or moves
// everything into one hidden folder whose name shows nothing and leaves a
// shortcut at the root. The lists show what was hidden, and the decoys
// never run.

// The extensions a decoy's name ends in: programs, scripts and shortcuts.
std::span<const std::wstring_view> DecoyExtensions();

// Whether every character of name is one that shows nothing: spaces of
// every width, zero-width characters, and the Hangul and Braille blanks.
// An empty name is not blank.
bool IsBlankName(std::wstring_view name);

// The name a program or shortcut named file would pass for: "第一周" for
// "第一周.exe" and "课件.pptx" for "课件.pptx.lnk"; empty for any other file.
std::wstring_view ImitatedName(std::wstring_view file);

// Names compared as Windows compares them: character by character, ignoring case.
bool SameName(std::wstring_view a, std::wstring_view b);

// Whether the lists show hidden, a hidden entry of a folder whose other
// entries include beside: a folder with a blank name, or any entry with a
// visible program or shortcut of its name beside it. Every other hidden
// entry ($RECYCLE.BIN, System Volume Information, a folder hidden on
// purpose) stays out of the lists. beside needs only the folder's visible
// files that ImitatedName finds a name in.
bool ShowsHidden(const FolderEntry& hidden, std::span<const FolderEntry> beside);

// A visible file that a virus left as a decoy, and what it passes for.
struct Decoy {
    enum class Kind { OfFolder, OfFile, BesideBlankFolder } kind;
    std::wstring imitated;  // the entry it is named after; empty beside a blank folder
};

// Whether file, a visible file among a folder's entries, is a decoy: a
// program or shortcut named after a hidden entry beside it, or a shortcut
// beside a hidden folder with a blank name. Under Wine the hidden attribute
// of a FAT stick may not be read, so there a program or shortcut named
// after any folder beside it is a decoy, and any blank folder counts.
std::optional<Decoy> FindDecoy(std::wstring_view file, std::span<const FolderEntry> entries, bool underWine);

#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "listing.h"

// What the viruses that pass from stick to stick on classroom PCs leave
// behind, told from a folder's entries. One kind hides each lesson folder
// and puts a program of the same name beside it ("第一周.exe", with a
// folder's icon); another leaves a shortcut ("第一周.lnk"), or moves
// everything into one hidden folder whose name shows nothing and leaves a
// shortcut at the root; a shortcut worm names its shortcuts after a file's
// name up to a dot ("课件.lnk"). An antivirus then deletes the decoys and
// leaves the folders hidden and system. The lists show what was hidden, and
// the decoys never run.

// Whether every character of name is one that shows nothing: spaces of
// every width, zero-width characters, direction marks, the Hangul and
// Braille blanks, variation selectors and tags. An empty name is not blank.
bool IsBlankName(std::wstring_view name);

// The name a program, script or shortcut named file would pass for:
// "第一周" for "第一周.exe" and "课件.pptx" for "课件.pptx.lnk"; empty for any
// other file.
std::wstring_view ImitatedName(std::wstring_view file);

// Whether file is a shortcut (.lnk, .url). A shortcut worm names its
// shortcuts after a file's name up to a dot ("课件.lnk" for "课件.pptx").
bool IsShortcut(std::wstring_view file);

// Names compared as Windows compares them: character by character, ignoring case.
bool SameName(std::wstring_view a, std::wstring_view b);

// The names a decoy of hidden, a hidden entry, could have beside it.
std::vector<std::wstring> DecoyNames(const FolderEntry& hidden);

// Whether the lists show hidden, a hidden entry of a folder whose other
// entries include beside:
// - a folder hidden and a system folder, unless Windows or a tool made it
//   ($RECYCLE.BIN, RECYCLER, RECYCLED, System Volume Information, FOUND.000
//   to FOUND.999, autorun.inf, any name that begins with "$" or ".");
// - a folder with a blank name;
// - any entry with a visible program or shortcut of its name beside it, or
//   a file with a shortcut of its name up to a dot.
// A hidden program, script or shortcut never shows, and every other hidden
// entry (a folder hidden on purpose, desktop.ini) stays out of the lists.
// beside needs only the folder's visible files that ImitatedName finds a
// name in.
bool ShowsHidden(const FolderEntry& hidden, std::span<const FolderEntry> beside);

// A file that a virus left as a decoy, and what it passes for.
struct Decoy {
    enum class Kind {
        OfFolder, OfFile,   // named after a folder or file the lists show
        OfProgram,          // named after a program, script or shortcut, never named in turn
        BesideBlankFolder,  // a shortcut or script beside a hidden folder with a blank name
        Hidden,             // the file itself is hidden
    } kind;
    std::wstring imitated;  // the folder or file it is named after (OfFolder, OfFile)
};

// Whether file, a program, script or shortcut among a folder's entries, is
// a decoy: hidden itself; named after a hidden entry beside it (as
// ShowsHidden pairs them); or a shortcut or script beside a hidden folder
// with a blank name. Under Wine the hidden attribute of a FAT stick may not
// be read, so there a program or shortcut named after any entry beside it
// is a decoy, and any blank folder counts.
std::optional<Decoy> FindDecoy(std::wstring_view file, std::span<const FolderEntry> entries, bool underWine);

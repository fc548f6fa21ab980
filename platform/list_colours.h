#pragma once

// The colours the lists draw their entries in, 0x00BBGGRR as a COLORREF is;
// the window chooses them.
struct ListColours {
    unsigned background, text, selection, selectionText;
    unsigned hiddenText;   // the text of an entry hidden on disk
    bool fadeHiddenIcons;  // its icon at half opacity, as Explorer draws it
};

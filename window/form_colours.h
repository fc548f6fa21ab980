#pragma once

#include "list_colours.h"

// The colours Form1 is drawn in, 0x00BBGGRR. The layout's own colours make
// the classic look, with the names in the system's text colour. Where that
// text would not stand out from the layout's list background (a contrast
// theme, a dark scheme), the form takes the system's colours throughout.

// What Windows says: whether a contrast theme is on, and its colours.
struct SystemColours {
    bool highContrast;
    unsigned window, windowText, buttonFace, highlight, highlightText, grayText;
};

struct FormColours {
    unsigned form;
    ListColours lists;
};

FormColours ChooseFormColours(const SystemColours& system);

#pragma once
#include <windows.h>

#include "form_colours.h"
#include "owned.h"

// The colours Form1 paints with, chosen from Windows' colour settings (see
// form_colours.h), and chosen again whenever those change.
class FormBrushes {
public:
    FormBrushes() { Choose(); }

    HBRUSH Form() const { return form_.Get(); }
    const ListColours& Lists() const { return colours_.lists; }
    // For WM_CTLCOLORLISTBOX: a list's empty area, below its entries.
    LRESULT PaintListBackground(HDC dc) const;

    // Windows' colours or its contrast theme changed: chooses again and
    // repaints the form and every control, while the program runs.
    void Follow(HWND form);

private:
    void Choose();

    FormColours colours_{};
    OwnedBrush form_, list_;
};

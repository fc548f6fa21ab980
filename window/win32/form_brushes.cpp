#include "form_brushes.h"

void FormBrushes::Choose() {
    HIGHCONTRASTW contrast{sizeof contrast, 0, nullptr};
    const bool highContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                              (contrast.dwFlags & HCF_HIGHCONTRASTON);
    colours_ = ChooseFormColours({highContrast, GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                                  GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_HIGHLIGHT),
                                  GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_GRAYTEXT)});
    form_.Reset(CreateSolidBrush(colours_.form));
    list_.Reset(CreateSolidBrush(colours_.lists.background));
}

LRESULT FormBrushes::PaintListBackground(HDC dc) const {
    SetBkColor(dc, colours_.lists.background);
    return reinterpret_cast<LRESULT>(list_.Get());
}

// The form's background is its window class's brush: the new one replaces it.
void FormBrushes::Follow(HWND form) {
    Choose();
    SetClassLongPtrW(form, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(form_.Get()));
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

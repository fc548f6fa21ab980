#include "form_colours.h"

#include <algorithm>
#include <cmath>

#include "layout.h"

namespace {

// WCAG 2's relative luminance: 0 for black, 1 for white.
double Luminance(unsigned colour) {
    const auto linear = [](unsigned channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour & 0xFF) + 0.7152 * linear(colour >> 8 & 0xFF) + 0.0722 * linear(colour >> 16 & 0xFF);
}

// From 1 (the same) to 21 (black on white); WCAG 2 asks 4.5 of body text.
double ContrastRatio(unsigned a, unsigned b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

// The selection and the text are the system's in both looks. In the
// system's, an entry hidden on disk is told by its grey text: an icon at
// half opacity is hard to see on a dark background.
FormColours ChooseFormColours(const SystemColours& system) {
    if (system.highContrast || ContrastRatio(system.windowText, kControlBackground) < 4.5)
        return {system.buttonFace,
                {system.window, system.windowText, system.highlight, system.highlightText, system.grayText, false}};
    return {kFormBackground,
            {kControlBackground, system.windowText, system.highlight, system.highlightText, system.windowText, true}};
}

// The colours the form is drawn in: the classic look while the system's text
// colour reads well on the layout's list background, the system's colours
// throughout in a contrast theme or where it would not.
#include <gtest/gtest.h>

#include "form_colours.h"

namespace {

// window, window text, button face, highlight, highlight text, grey text (0x00BBGGRR)
constexpr SystemColours kUsual{false, 0xFFFFFF, 0x000000, 0xF0F0F0, 0xD77800, 0xFFFFFF, 0x6D6D6D};
constexpr SystemColours kBlackContrast{true, 0x000000, 0xFFFFFF, 0x000000, 0xFFFF1A, 0x000000, 0x00FF3F};

SystemColours WithText(SystemColours system, bool highContrast, unsigned windowText) {
    system.highContrast = highContrast;
    system.windowText = windowText;
    return system;
}

TEST(FormColours, SystemColoursWhereTheSystemTextWouldNotReadOnTheClassicList) {
    const struct {
        const char* what;
        SystemColours system;
        bool systemLook;
    } schemes[] = {
        {"the usual colours", kUsual, false},
        {"a contrast theme with the usual colours (white)", WithText(kUsual, true, 0x000000), true},
        {"a black contrast theme", kBlackContrast, true},
        {"its colours, the flag not reported (as Wine 8)", WithText(kBlackContrast, false, 0xFFFFFF), true},
        {"a dark scheme of the user's own", {false, 0x202020, 0xE0E0E0, 0x303030, 0x805020, 0xFFFFFF, 0x909090}, true},
        {"dark grey text: contrast 4.55 on the list", WithText(kUsual, false, 0x525252), false},
        {"a shade lighter: 4.48", WithText(kUsual, false, 0x535353), true},
        {"text close to the list's purple", WithText(kUsual, false, 0xF0B0B0), true},
        {"blue text: 5.0 (red would be 2.6)", WithText(kUsual, false, 0xFF0000), false},
    };
    for (const auto& s : schemes) {
        SCOPED_TRACE(s.what);
        const SystemColours& system = s.system;
        const FormColours colours = ChooseFormColours(system);
        const ListColours& lists = colours.lists;
        EXPECT_EQ(colours.form, s.systemLook ? system.buttonFace : 0xE0E0E0u);
        EXPECT_EQ(lists.background, s.systemLook ? system.window : 0xFFC0C0u);
        EXPECT_EQ(lists.hiddenText, s.systemLook ? system.grayText : system.windowText);
        EXPECT_EQ(lists.fadeHiddenIcons, !s.systemLook);
        // Text and selection are the system's in either look.
        EXPECT_EQ(lists.text, system.windowText);
        EXPECT_EQ(lists.selection, system.highlight);
        EXPECT_EQ(lists.selectionText, system.highlightText);
    }
}

}  // namespace

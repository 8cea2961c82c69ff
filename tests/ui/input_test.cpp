// The key decisions of the main window's own keyboard handling.
#include "input.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ClassifyKey, TabArrowsAndEverythingElse) {
    const Modifiers none, shift{true, false, false}, control{false, true, false},
        alt{false, false, true}, shiftControl{true, true, false};
    struct Case {
        WPARAM key;
        Modifiers modifiers;
        bool radioHasFocus;
        KeyAction expected;
    };
    const Case cases[] = {
        {VK_TAB, none, false, KeyAction::FocusNext},
        {VK_TAB, none, true, KeyAction::FocusNext},
        {VK_TAB, shift, false, KeyAction::FocusPrevious},
        {VK_TAB, control, false, KeyAction::PassOn},
        {VK_TAB, alt, false, KeyAction::PassOn},
        {VK_TAB, shiftControl, false, KeyAction::PassOn},
        {VK_RIGHT, none, true, KeyAction::RadioNext},
        {VK_DOWN, none, true, KeyAction::RadioNext},
        {VK_LEFT, none, true, KeyAction::RadioPrevious},
        {VK_UP, none, true, KeyAction::RadioPrevious},
        {VK_RIGHT, none, false, KeyAction::PassOn},  // the path box moves its caret
        {VK_LEFT, none, false, KeyAction::PassOn},
        {VK_DOWN, shift, true, KeyAction::PassOn},
        {VK_UP, control, true, KeyAction::PassOn},
        {VK_RETURN, none, false, KeyAction::PassOn},
        {VK_RETURN, none, true, KeyAction::PassOn},
        {VK_ESCAPE, none, false, KeyAction::PassOn},
        {VK_F1, none, false, KeyAction::PassOn},
        {'S', alt, false, KeyAction::PassOn},
        {'1', alt, true, KeyAction::PassOn},
        {VK_SPACE, none, true, KeyAction::PassOn},
        {VK_F4, alt, false, KeyAction::PassOn},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassifyKey(c.key, c.modifiers, c.radioHasFocus), c.expected)
            << "key " << c.key << " shift " << c.modifiers.shift << " ctrl " << c.modifiers.control
            << " alt " << c.modifiers.alt << " radio " << c.radioHasFocus;
    }
}

const std::vector<int> kTabOrder = {kPathBox,         kChooseButton,      kRadioTwoFiles,
                                    kRadioThreeFiles, kRadioPieces500000, kRadioPieces1000000,
                                    kStartButton,     kExitButton,        kDeleteCheck,
                                    kHelpButton};

TEST(FocusOrder, TabVisitsAllTenAndWrapsShiftTabGoesBack) {
    int control = kPathBox;
    std::vector<int> forwards{control};
    for (size_t i = 0; i < kTabOrder.size(); ++i)
        forwards.push_back(control = NextInFocusOrder(control, false));
    std::vector<int> expected = kTabOrder;
    expected.push_back(kPathBox);
    EXPECT_EQ(forwards, expected);

    std::vector<int> backwards{control};
    for (size_t i = 0; i < kTabOrder.size(); ++i)
        backwards.push_back(control = NextInFocusOrder(control, true));
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(backwards, expected);
}

TEST(FocusOrder, NoFocusedControlStartsAtAnEnd) {
    EXPECT_EQ(NextInFocusOrder(0, false), kPathBox);
    EXPECT_EQ(NextInFocusOrder(0, true), kHelpButton);
}

TEST(RadioRing, ArrowsGoRoundTheFourAndNothingElseIsARadio) {
    struct Case {
        ControlId from;
        ControlId next, previous;
    };
    const Case cases[] = {
        {kRadioTwoFiles, kRadioThreeFiles, kRadioPieces1000000},
        {kRadioThreeFiles, kRadioPieces500000, kRadioTwoFiles},
        {kRadioPieces500000, kRadioPieces1000000, kRadioThreeFiles},
        {kRadioPieces1000000, kRadioTwoFiles, kRadioPieces500000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextInRadioRing(c.from, false), c.next);
        EXPECT_EQ(NextInRadioRing(c.from, true), c.previous);
        EXPECT_TRUE(IsRadio(c.from));
    }
    for (int other : {0, int{kPathBox}, int{kChooseButton}, int{kStartButton}, int{kDeleteCheck},
                      int{kHelpButton}}) {
        EXPECT_FALSE(IsRadio(other)) << other;
    }
}

}  // namespace

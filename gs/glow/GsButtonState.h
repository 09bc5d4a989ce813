#pragma once
// The visual states of a button. A state's value is the index of its
// picture (GsButtonAppearance) and of its text effect
// (GsButtonOuterGlowTextEffect); the interfaces that take any index, and
// fall back for unknown ones, take it as a plain number.

namespace gs {

// The classes that work per state derive from this, so that a state is
// spelled WdgButton::StateHovered there.
struct GsButtonStates {
    enum GsButtonState {
        StateRaised = 0,
        StateSunken = 1,
        StateHovered = 2,
        StateDisabled = 3,
        StateFocused = 4,
        StateActive = 5,
    };
    static constexpr int StateCount = 6;
};

using GsButtonState = GsButtonStates::GsButtonState;

} // namespace gs

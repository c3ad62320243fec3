// A form's design as a table: the controls in the order the form lists them, each with its
// designed (Chinese) caption and the English one a form sets at load.
#pragma once

#include "platform/controls/Form.h"
#include "platform/text/Bilingual.h"

#include <span>
#include <string_view>

namespace velmora {

enum class ControlKind { Button, Check, Combo, Date, Frame, Label, List, Option, Text };

struct ControlDesign {
    ControlKind kind;
    const char* name;
    int index = -1;
    // The Chinese caption is the designed one; none leaves the control's default.
    text::Bilingual caption = {};
    // The control has an English-layout twin, named with a trailing 1, shown in place of it in
    // English: the control keeps the Chinese caption and the twin the English one.
    bool twin = false;
};

// The caption of a control that reads the same in both languages, such as one that only a
// language's own layout shows.
constexpr text::Bilingual sameInBoth(std::string_view caption) {
    return {.english = caption, .chinese = caption};
}

// The design row of a control with an English-layout twin.
constexpr ControlDesign twinned(ControlKind kind, const char* name, text::Bilingual caption) {
    return {kind, name, -1, caption, true};
}

// Adds the controls in the table's order, each with its designed caption, a twin right after
// its control. Refuses a row with a caption in one language only, which would leave the
// control blank in the other.
void addControls(controls::Form& form, std::span<const ControlDesign> design);

// Sets the captions of a language on the captioned controls of the table that have no twin.
void setCaptions(controls::Form& form, std::span<const ControlDesign> design, bool chinese);

} // namespace velmora

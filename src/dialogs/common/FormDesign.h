// A form's design as a table: the controls in the order the form lists them, each with its
// designed (Chinese) caption and the English one a form sets at load.
#pragma once

#include "platform/controls/Form.h"

#include <span>

namespace velmora {

// A caption in both languages.
struct Bilingual {
    const char* english;
    const char* chinese;
};

enum class ControlKind { Button, Check, Combo, Date, Frame, Label, List, Option, Text };

struct ControlDesign {
    ControlKind kind;
    const char* name;
    int index = -1;
    const char* chinese = nullptr; // the designed caption; none leaves the default
    const char* english = nullptr; // none keeps the designed caption in both languages
    // The control has an English-layout twin, named with a trailing 1, shown in place of it in
    // English: the control keeps the Chinese caption and the twin the English one.
    bool twin = false;
};

// Marks a design row whose control has a twin.
inline constexpr bool withTwin = true;

// Adds the controls in the table's order, each with its designed caption, a twin right after
// its control.
void addControls(controls::Form& form, std::span<const ControlDesign> design);

// Sets the captions of a language on the controls of the table that have both and no twin.
void setCaptions(controls::Form& form, std::span<const ControlDesign> design, bool chinese);

} // namespace velmora

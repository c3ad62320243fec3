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
};

// Adds the controls in the table's order, each with its designed caption.
void addControls(controls::Form& form, std::span<const ControlDesign> design);

// Sets the captions of a language on the controls of the table that have both.
void setCaptions(controls::Form& form, std::span<const ControlDesign> design, bool chinese);

} // namespace velmora

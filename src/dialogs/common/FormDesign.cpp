// Adds a design table's controls to a form and switches their captions between the languages.
// The kinds are the controls the dialogs are made of.
#include "dialogs/common/FormDesign.h"

#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/DatePicker.h"
#include "platform/controls/Frame.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/OptionButton.h"
#include "platform/controls/TextBox.h"

namespace velmora {

namespace {

controls::Control& addControl(controls::Form& form, ControlKind kind, const char* name, int index) {
    switch (kind) {
    case ControlKind::Button:
        return form.add<controls::CommandButton>(name, index);
    case ControlKind::Check:
        return form.add<controls::CheckBox>(name, index);
    case ControlKind::Combo:
        return form.add<controls::ComboBox>(name, index);
    case ControlKind::Date:
        return form.add<controls::DatePicker>(name, index);
    case ControlKind::Frame:
        return form.add<controls::Frame>(name, index);
    case ControlKind::Label:
        return form.add<controls::Label>(name, index);
    case ControlKind::List:
        return form.add<controls::ListView>(name, index);
    case ControlKind::Option:
        return form.add<controls::OptionButton>(name, index);
    case ControlKind::Text:
        break;
    }
    return form.add<controls::TextBox>(name, index);
}

} // namespace

void addControls(controls::Form& form, std::span<const ControlDesign> design) {
    for (const ControlDesign& row : design) {
        controls::Control& control = addControl(form, row.kind, row.name, row.index);
        if (row.chinese) control.setCaption(row.chinese);
    }
}

void setCaptions(controls::Form& form, std::span<const ControlDesign> design, bool chinese) {
    for (const ControlDesign& row : design)
        if (row.chinese && row.english)
            form.get<controls::Control>(row.name, row.index)
                .setCaption(chinese ? row.chinese : row.english);
}

} // namespace velmora

// Adds a design table's controls to a form and switches their captions between the languages.
// The kinds are the controls the dialogs are made of.
#include "dialogs/common/FormDesign.h"

#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/EntryControls.h"
#include "platform/controls/ListView.h"

#include <iterator>
#include <string>

namespace velmora {

namespace {

template <typename T>
controls::Control& make(controls::Form& form, const std::string& name, int index) {
    return form.add<T>(name, index);
}

using Maker = controls::Control& (*)(controls::Form&, const std::string&, int);

// One maker per kind, in the order of ControlKind.
constexpr Maker makers[] = {
    &make<controls::CommandButton>, &make<controls::CheckBox>,     &make<controls::ComboBox>,
    &make<controls::DatePicker>,    &make<controls::Frame>,        &make<controls::Label>,
    &make<controls::ListView>,      &make<controls::OptionButton>, &make<controls::TextBox>};
static_assert(std::size(makers) == static_cast<std::size_t>(ControlKind::Text) + 1);

} // namespace

void addControls(controls::Form& form, std::span<const ControlDesign> design) {
    for (const ControlDesign& row : design) {
        const Maker maker = makers[static_cast<std::size_t>(row.kind)];
        controls::Control& control = maker(form, row.name, row.index);
        if (row.chinese) control.setCaption(row.chinese);
        if (row.twin) maker(form, std::string(row.name) + "1", row.index).setCaption(row.english);
    }
}

void setCaptions(controls::Form& form, std::span<const ControlDesign> design, bool chinese) {
    for (const ControlDesign& row : design)
        if (row.chinese && row.english && !row.twin)
            form.get<controls::Control>(row.name, row.index)
                .setCaption(chinese ? row.chinese : row.english);
}

} // namespace velmora

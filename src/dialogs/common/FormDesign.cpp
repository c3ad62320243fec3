// Adds a design table's controls to a form and switches their captions between the languages.
// The kinds are the controls the dialogs are made of.
#include "dialogs/common/FormDesign.h"

#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ControlError.h"
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
        if (row.caption.english.empty() != row.caption.chinese.empty())
            throw controls::ControlError("The design gives " + std::string(row.name) +
                                         " a caption in one language only");
        const Maker maker = makers[static_cast<std::size_t>(row.kind)];
        controls::Control& control = maker(form, row.name, row.index);
        if (!row.caption.chinese.empty()) control.setCaption(std::string(row.caption.chinese));
        if (row.twin)
            maker(form, std::string(row.name) + "1", row.index)
                .setCaption(std::string(row.caption.english));
    }
}

void setCaptions(controls::Form& form, std::span<const ControlDesign> design, bool chinese) {
    for (const ControlDesign& row : design)
        if (!row.caption.chinese.empty() && !row.twin)
            form.get<controls::Control>(row.name, row.index).setCaption(row.caption.in(chinese));
}

} // namespace velmora

// Finds each row's control and event source and subscribes the row's handler; the form's own
// Load and Unload are the rows named "Form".
#include "dialogs/common/HandlerTable.h"

#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ControlError.h"
#include "platform/controls/EntryControls.h"
#include "platform/controls/ListView.h"

#include <algorithm>
#include <string>

namespace velmora {

namespace {

host::EventSource<>* clickOf(controls::Control& control) {
    if (auto* button = dynamic_cast<controls::CommandButton*>(&control)) return &button->Click;
    if (auto* check = dynamic_cast<controls::CheckBox*>(&control)) return &check->Click;
    if (auto* option = dynamic_cast<controls::OptionButton*>(&control)) return &option->Click;
    if (auto* combo = dynamic_cast<controls::ComboBox*>(&control)) return &combo->Click;
    return nullptr;
}

host::EventSource<>* changeOf(controls::Control& control) {
    if (auto* text = dynamic_cast<controls::TextBox*>(&control)) return &text->Change;
    if (auto* combo = dynamic_cast<controls::ComboBox*>(&control)) return &combo->Change;
    if (auto* date = dynamic_cast<controls::DatePicker*>(&control)) return &date->Change;
    return nullptr;
}

host::EventSource<>* sourceOf(controls::Control& control, FormEvent event) {
    switch (event) {
    case FormEvent::Click:
        return clickOf(control);
    case FormEvent::Change:
        return changeOf(control);
    case FormEvent::DblClick:
        if (auto* list = dynamic_cast<controls::ListView*>(&control)) return &list->DblClick;
        return nullptr;
    default:
        return nullptr;
    }
}

host::Subscription wireRow(controls::Form& form, const HandlerRow& row, std::string_view name) {
    if (row.control == "Form") {
        if (row.event == FormEvent::Load)
            return form.Load.subscribe([handler = row.handler] { handler(-1); });
        if (row.event == FormEvent::Unload)
            return form.Unload.subscribe([handler = row.handler](int&) { handler(-1); });
    }
    controls::Control* control = form.find(name, row.index);
    if (auto* list = dynamic_cast<controls::ListView*>(control);
        list && row.event == FormEvent::ColumnClick)
        return list->ColumnClick.subscribe(
            [handler = row.handler](int column) { handler(column); });
    host::EventSource<>* source = control ? sourceOf(*control, row.event) : nullptr;
    if (!source)
        throw controls::ControlError("Form " + form.Name() + " has no event to wire for " +
                                     std::string(name));
    return source->subscribe([handler = row.handler, index = row.index] { handler(index); });
}

bool hasTwin(std::span<const ControlDesign> design, std::string_view name) {
    return std::ranges::any_of(
        design, [name](const ControlDesign& row) { return row.twin && row.name == name; });
}

} // namespace

std::vector<host::Subscription> wireHandlers(controls::Form& form,
                                             std::initializer_list<HandlerRow> rows,
                                             std::span<const ControlDesign> design) {
    std::vector<host::Subscription> subscriptions;
    subscriptions.reserve(rows.size());
    for (const HandlerRow& row : rows) {
        subscriptions.push_back(wireRow(form, row, row.control));
        if (hasTwin(design, row.control))
            subscriptions.push_back(wireRow(form, row, std::string(row.control) + "1"));
    }
    return subscriptions;
}

} // namespace velmora

// The dialog verbs of the scripted host. Each goes through the control's user-action helper,
// so a disabled or hidden control is refused just as it would be for a user.
#include "FormDriver.h"

#include "BarView.h"

#include "platform/ado/Value.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/EntryControls.h"
#include "platform/controls/KeyCodes.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TabControl.h"

namespace velmora::app {

namespace {

int keyCode(const std::string& word) {
    if (word == "Escape") return controls::vbKeyEscape;
    if (word == "Return") return controls::vbKeyReturn;
    if (word == "Delete") return controls::vbKeyDelete;
    return std::stoi(word);
}

// A row by key, or "#N" for the N-th row.
controls::ListItem& row(controls::ListView& list, const std::string& word) {
    if (word.size() > 1 && word[0] == '#') return list.ListItems().Item(std::stoi(word.substr(1)));
    if (auto* found = list.ListItems().find(word)) return *found;
    throw std::runtime_error("List " + list.Name() + " has no row with key \"" + word + "\"");
}

} // namespace

controls::Control& FormDriver::control(const std::string& word) const {
    controls::Form& form = ctx_.currentForm();
    if (word == "form") return form;
    std::string name = word;
    int index = -1;
    if (const auto open = word.find('('); open != std::string::npos && word.back() == ')') {
        name = word.substr(0, open);
        index = std::stoi(word.substr(open + 1));
    }
    if (auto* found = form.find(name, index)) return *found;
    throw std::runtime_error("Dialog " + form.Name() + " has no control " + word);
}

template <typename T> T& FormDriver::typed(const std::string& word) const {
    if (auto* found = dynamic_cast<T*>(&control(word))) return *found;
    throw std::runtime_error("Control " + word + " cannot do that (it is a " +
                             control(word).kind() + ")");
}

void FormDriver::install(CommandTable& table) {
    table.add("click", "click CONTROL", 2, [this](const Words& w) {
        controls::Control& target = control(w[1]);
        if (auto* button = dynamic_cast<controls::CommandButton*>(&target)) return button->click();
        if (auto* box = dynamic_cast<controls::CheckBox*>(&target)) return box->click();
        if (auto* option = dynamic_cast<controls::OptionButton*>(&target)) return option->click();
        throw std::runtime_error("Control " + w[1] + " cannot be clicked");
    });
    table.add("check", "check LIST KEY|#N [off]", 3, [this](const Words& w) {
        auto& list = typed<controls::ListView>(w[1]);
        list.checkItem(row(list, w[2]), !(w.size() > 3 && w[3] == "off"));
    });
    table.add("pick", "pick LIST KEY|#N", 3, [this](const Words& w) {
        auto& list = typed<controls::ListView>(w[1]);
        list.clickItem(row(list, w[2]));
    });
    table.add("dblclick", "dblclick LIST KEY|#N", 3, [this](const Words& w) {
        auto& list = typed<controls::ListView>(w[1]);
        list.doubleClickItem(row(list, w[2]));
    });
    table.add("column", "column LIST N", 3, [this](const Words& w) {
        typed<controls::ListView>(w[1]).clickColumn(std::stoi(w[2]));
    });
    table.add("choose", "choose COMBO INDEX", 3,
              [this](const Words& w) { typed<controls::ComboBox>(w[1]).choose(std::stoi(w[2])); });
    table.add("type", "type CONTROL TEXT", 2, [this](const Words& w) {
        const std::string text = joinFrom(w, 2);
        if (auto* box = dynamic_cast<controls::TextBox*>(&control(w[1]))) return box->type(text);
        typed<controls::ComboBox>(w[1]).type(text);
    });
    table.add("tab", "tab CONTROL INDEX", 3, [this](const Words& w) {
        typed<controls::TabControl>(w[1]).clickTab(std::stoi(w[2]));
    });
    table.add("date", "date CONTROL YYYY-MM-DD[ hh:mm:ss]", 3, [this](const Words& w) {
        ado::DateTime value;
        if (!ado::parseDateTime(joinFrom(w, 2), value))
            throw std::runtime_error("Not a date: " + joinFrom(w, 2));
        typed<controls::DatePicker>(w[1]).pick(value);
    });
    table.add("key", "key CONTROL|form Escape|Return|Delete|CODE", 3, [this](const Words& w) {
        ctx_.currentForm().pressKey(control(w[1]), keyCode(w[2]));
    });
    table.add("describe", "describe [CONTROL] | describe bar BAR [ITEM]", 1,
              [this](const Words& w) {
                  if (w.size() > 2 && w[1] == "bar") {
                      host::CommandBars* bars = w.size() > 3 ? itemWindowBars(ctx_, w[3]) : nullptr;
                      if (w.size() > 3 && !bars)
                          throw UsageError("No item window is open on \"" + w[3] + "\"");
                      ctx_.out << describeBar((bars ? *bars : explorerBars(ctx_)).Item(w[2]));
                      return;
                  }
                  const std::string text =
                      w.size() > 1 ? control(w[1]).describe() : ctx_.currentForm().describe();
                  ctx_.out << text << (text.empty() || text.back() != '\n' ? "\n" : "");
              });
    table.add("close", "close", 1, [this](const Words&) { ctx_.currentForm().unload(); });
}

} // namespace velmora::app

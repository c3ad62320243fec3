// The add-in verbs of the scripted host: connect, terminate, button, focus, companion.
// Programs the add-in starts are printed; the companion's window opens with them.
#include "AddinCommands.h"

#include "platform/host/HostCore.h"

#include "BarView.h"

#include <algorithm>

namespace velmora::app {

AddinCommands::AddinCommands(ScriptContext& context) : CommandGroup(context) {
    ctx_.windows.onStart = [this](const std::string& program,
                                  const std::vector<std::string>& args) {
        ctx_.out << "(started " << program;
        for (const auto& arg : args)
            ctx_.out << " " << arg;
        ctx_.out << ")\n";
        // The companion shows its window, titled with the synchronisation caption, until closed.
        ctx_.windows.openWindows.insert(ctx_.state.syncWindowCaption);
    };
}

host::CommandBars& AddinCommands::barsFor(const Words& words, std::size_t at) {
    if (words.size() <= at) return explorerBars(ctx_);
    ctx_.named(words[at]); // an unknown name is said as such
    if (auto* bars = itemWindowBars(ctx_, words[at])) return *bars;
    throw UsageError("No item window is open on \"" + words[at] + "\"");
}

void AddinCommands::trackDialogs() {
    auto& forms = ctx_.forms;
    // Modal dialogs are pushed and popped by their own loop; only modeless ones are tracked here.
    const auto closed = [](controls::Form* form) {
        return !form->modal() && (!form->Loaded() || !form->Visible());
    };
    std::erase_if(forms, closed);
    std::erase_if(ctx_.shown, closed);
    if (!ctx_.addin) return;
    for (controls::Form* form : ctx_.addin->menu().loadedDialogs()) {
        if (!form->Visible() || std::find(forms.begin(), forms.end(), form) != forms.end())
            continue;
        form->setChildModalScript(ctx_.modalLoop);
        // The new dialog is in front, yet behind a modal dialog that plays its own lines.
        forms.insert(
            std::find_if(forms.begin(), forms.end(), [](controls::Form* f) { return f->modal(); }),
            form);
        ctx_.shown.push_back(form);
        ctx_.out << "(dialog " << form->Name() << " shown: \"" << form->Caption() << "\")\n";
    }
}

void AddinCommands::install(CommandTable& table) {
    table.add("connect", "connect", 1, [this](const Words&) {
        if (!ctx_.addin) ctx_.addin = std::make_unique<AddInDesigner1>(ctx_.state);
        ctx_.addin->AddinInstance_OnConnection(ctx_.host.application());
        ctx_.out << "add-in connected (user " << ctx_.state.currentUser << ")\n";
    });
    table.add("terminate", "terminate", 1, [this](const Words&) {
        if (!ctx_.addin) throw std::runtime_error("The add-in is not connected");
        ctx_.forms.clear();
        ctx_.shown.clear();
        ctx_.addin->AddinInstance_Terminate();
        ctx_.out << "add-in terminated\n";
    });
    table.add("button", "button TAG [ITEM]", 2, [this](const Words& w) {
        // The user's click; what the add-in does on it runs as the Click event's handler.
        host::Faults::UserCalls user(ctx_.host.faults());
        auto control = barsFor(w, 2).FindControl(0, 0, w[1]);
        if (!control) throw std::runtime_error("No command bar control is tagged \"" + w[1] + "\"");
        control->Execute();
    });
    table.add("focus", "focus N", 2, [this](const Words& w) {
        auto& forms = ctx_.forms;
        if (!forms.empty() && forms.back()->modal())
            throw std::runtime_error("A modal dialog is open: it keeps the focus until it closes");
        const int n = std::stoi(w[1]);
        if (n < 1 || n > static_cast<int>(ctx_.shown.size()))
            throw std::runtime_error("No dialog " + w[1] + " is in view (" +
                                     std::to_string(ctx_.shown.size()) + " shown)");
        controls::Form* form = ctx_.shown[static_cast<std::size_t>(n - 1)];
        std::erase(forms, form);
        forms.push_back(form);
        ctx_.out << "(dialog " << form->Name() << " in front: \"" << form->Caption() << "\")\n";
    });
    table.add("companion", "companion open | companion close", 2, [this](const Words& w) {
        if (w[1] == "open") {
            ctx_.windows.openWindows.insert(ctx_.state.syncWindowCaption);
        } else if (w[1] == "close") {
            ctx_.windows.openWindows.erase(ctx_.state.syncWindowCaption);
        } else {
            throw std::runtime_error("usage: companion open | companion close");
        }
        ctx_.out << "companion window " << (w[1] == "open" ? "open" : "closed") << "\n";
    });
}

} // namespace velmora::app

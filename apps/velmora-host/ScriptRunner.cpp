// The scripted host's command loop: reads lines, runs each through the command table, prints
// message boxes as they appear, and nests a loop for each modal dialog.
#include "ScriptRunner.h"

#include "platform/log/Log.h"

#include <chrono>
#include <thread>

namespace velmora::app {

ScriptRunner::ScriptRunner(std::ostream& out, std::ostream& errors)
    : ctx_(out), host_(ctx_), store_(ctx_), dialogs_(ctx_), expect_(ctx_, store_, host_, dialogs_),
      addin_(ctx_), mailbox_(ctx_), errors_(errors) {
    host_.install(table_);
    store_.install(table_);
    dialogs_.install(table_);
    expect_.install(table_);
    addin_.install(table_);
    mailbox_.install(table_);
    table_.add("echo", "echo TEXT", 1,
               [this](const Words& w) { ctx_.out << joinFrom(w, 1) << "\n"; });
    table_.add("sleep", "sleep SECONDS", 2, [](const Words& w) {
        std::this_thread::sleep_for(std::chrono::duration<double>(std::stod(w[1])));
    });
    table_.add("help", "help", 1, [this](const Words&) {
        for (const auto& [verb, command] : table_.commands())
            ctx_.out << "  " << command.usage << "\n";
    });
    ctx_.modalLoop = [this](controls::Form& form) { modalLoop(form); };
}

int ScriptRunner::run(LineReader& in, const ScriptSource& source) {
    in_ = &in;
    source_ = source;
    if (std::filesystem::is_regular_file(source.name))
        ctx_.scriptFolder = std::filesystem::path(source.name).parent_path();
    lineNumber_ = 0;
    aborted_ = false;
    runLines([](const std::string&) { return false; });
    flushMessages();
    if (scriptErrors_ > 0) return 2;
    return failures_ == 0 ? 0 : 1;
}

// "${NAME}" stands for the entry ID of the item the script named NAME.
std::string ScriptRunner::withEntryIds(const std::string& line) const {
    std::string out;
    std::size_t from = 0;
    for (auto at = line.find("${"); at != std::string::npos; at = line.find("${", from)) {
        const auto end = line.find('}', at);
        if (end == std::string::npos) break;
        out += line.substr(from, at - from);
        const std::string name = line.substr(at + 2, end - at - 2);
        const auto found = ctx_.items.find(name);
        if (found == ctx_.items.end()) throw UsageError("No item is called \"" + name + "\"");
        out += found->second->EntryID();
        from = end + 1;
    }
    return out + line.substr(from);
}

bool ScriptRunner::runLines(const std::function<bool(const std::string&)>& done) {
    while (!aborted_) {
        const auto line = in_->next(prompt());
        if (!line) break;
        ++lineNumber_;
        const auto first = line->find_first_not_of(" \t");
        if (first == std::string::npos || (*line)[first] == '#') continue;
        const std::string command = line->substr(first);
        // The demo's narration (echo) is not something the user did.
        if (source_.echo && command.substr(0, command.find_first_of(" \t")) != "echo")
            ctx_.out << "> " << command << "\n";
        if (done(command)) return true;
        try {
            takeMailboxChanges();
            const std::string expanded = withEntryIds(*line);
            table_.execute(Words{splitWords(expanded), expanded});
        } catch (const std::exception& e) {
            report(e);
        }
        addin_.trackDialogs();
        flushMessages();
        if (done("")) return true;
    }
    return !aborted_;
}

// A failing line goes to the error stream as compilers write theirs, so that an editor finds
// the line, and to the log; the output printed before it is flushed first to keep the order.
void ScriptRunner::report(const std::exception& e) {
    ++failures_;
    if (!dynamic_cast<const ExpectationFailed*>(&e)) ++scriptErrors_;
    flushMessages();
    ctx_.out.flush();
    const std::string where = source_.name + ":" + std::to_string(lineNumber_);
    errors_ << where << ": error: " << e.what() << std::endl;
    log::error(where, e.what());
    aborted_ = !source_.keepGoing;
}

std::string ScriptRunner::prompt() const {
    if (ctx_.forms.empty()) return "velmora> ";
    return "velmora " + ctx_.forms.back()->Name() + "> ";
}

void ScriptRunner::modalLoop(controls::Form& form) {
    ctx_.forms.push_back(&form);
    ctx_.out << "(dialog " << form.Name() << " open)\n";
    // The loop ends on "end", when the dialog closes itself, or when the run stops.
    runLines([&form](const std::string& line) {
        return line == "end" || !form.Loaded() || !form.Visible();
    });
    ctx_.forms.pop_back();
    if (form.Loaded() && form.Visible()) form.unload();
    ctx_.out << "(dialog " << form.Name() << " closed)\n";
}

// What other programs changed in the mailbox reaches the host before the next line runs, as a
// real host's own loop would take it in between two clicks.
void ScriptRunner::takeMailboxChanges() {
    if (!ctx_.mailbox) return;
    ctx_.mailbox->poll();
    for (const std::string& problem : ctx_.mailbox->takeProblems())
        ctx_.out << "(mailbox " << problem << ")\n";
}

void ScriptRunner::flushMessages() {
    const auto& shown = ctx_.messages.shown;
    for (; printedMessages_ < shown.size(); ++printedMessages_)
        ctx_.out << "[" << shown[printedMessages_].title << "] " << shown[printedMessages_].text
                 << "\n";
}

} // namespace velmora::app

// The scripted host's command loop: reads lines, runs each through the command table, prints
// message boxes as they appear, and nests a loop for each modal dialog.
#include "ScriptRunner.h"

namespace velmora::app {

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '\\' && i + 1 < line.size() &&
            (line[i + 1] == '"' || line[i + 1] == '\\')) {
            word += line[++i];
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        word += c;
        inWord = true;
    }
    // An unclosed quote is left to the raw-text commands (a statement may hold a lone quote).
    if (inWord) words.push_back(word);
    return words;
}

ScriptRunner::ScriptRunner(std::ostream& out)
    : ctx_(out), host_(ctx_), store_(ctx_), dialogs_(ctx_), expect_(ctx_, store_, host_),
      addin_(ctx_) {
    host_.install(table_);
    store_.install(table_);
    dialogs_.install(table_);
    expect_.install(table_);
    addin_.install(table_);
    table_.add("echo", "echo TEXT", 1,
               [this](const Words& w) { ctx_.out << joinFrom(w, 1) << "\n"; });
    table_.add("help", "help", 1, [this](const Words&) {
        for (const auto& [verb, command] : table_.commands())
            ctx_.out << "  " << command.usage << "\n";
    });
    ctx_.modalLoop = [this](controls::Form& form) { modalLoop(form); };
}

int ScriptRunner::run(std::istream& in, bool keepGoing) {
    in_ = &in;
    keepGoing_ = keepGoing;
    runLines([](const std::string&) { return false; });
    flushMessages();
    return failures_ == 0 ? 0 : 1;
}

bool ScriptRunner::runLines(const std::function<bool(const std::string&)>& done) {
    std::string line;
    while (!aborted_ && std::getline(*in_, line)) {
        ++lineNumber_;
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        if (done(line.substr(first))) return true;
        try {
            table_.execute(Words{splitWords(line), line});
        } catch (const std::exception& e) {
            ++failures_;
            flushMessages();
            ctx_.out << "error (line " << lineNumber_ << "): " << e.what() << "\n";
            aborted_ = !keepGoing_;
        }
        addin_.trackDialogs();
        flushMessages();
        if (done("")) return true;
    }
    return !aborted_;
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

void ScriptRunner::flushMessages() {
    const auto& shown = ctx_.messages.shown;
    for (; printedMessages_ < shown.size(); ++printedMessages_)
        ctx_.out << "[" << shown[printedMessages_].title << "] " << shown[printedMessages_].text
                 << "\n";
}

} // namespace velmora::app

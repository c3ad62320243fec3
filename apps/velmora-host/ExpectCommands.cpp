// The expect, answer and files verbs: store rows and statements, host items and filters,
// message boxes, dialogs, the registry and the attachment files below the install path.
#include "ExpectCommands.h"

#include "BarView.h"

#include "links/InstallPath.h"
#include "links/LinkStoreCheck.h"
#include "platform/ado/Recordset.h"
#include "platform/log/Log.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velmora::app {

namespace fs = std::filesystem;

namespace {

// "A => B" splits into A and B; both are required.
std::pair<std::string, std::string> splitArrow(const Words& w, std::size_t from) {
    const std::string text = w.rest(from);
    const auto arrow = text.find(" => ");
    if (arrow == std::string::npos) throw UsageError("usage: expect " + w[1] + " ... => EXPECTED");
    return {text.substr(0, arrow), text.substr(arrow + 4)};
}

void require(bool ok, const std::string& what, const std::string& expected,
             const std::string& found) {
    if (!ok)
        throw ExpectationFailed("expectation failed: " + what + "\n  expected: " + expected +
                                "\n  found:    " + found);
}

// A text ending in "*" matches any text that begins with what comes before the star.
bool matches(const std::string& expected, const std::string& found) {
    if (!expected.empty() && expected.back() == '*')
        return found.rfind(expected.substr(0, expected.size() - 1), 0) == 0;
    return found == expected;
}

void needWords(const Words& w, std::size_t n, const char* usage) {
    if (w.size() < n) throw UsageError(std::string("usage: expect ") + usage);
}

const std::map<std::string, int> iconStyles = {
    {"none", 0}, {"critical", 16}, {"question", 32}, {"exclamation", 48}, {"information", 64}};
const std::map<std::string, int> buttonStyles = {
    {"ok", 0}, {"okcancel", 1}, {"yesnocancel", 3}, {"yesno", 4}};

template <typename Map> std::string nameOf(const Map& names, int value) {
    for (const auto& [name, v] : names)
        if (v == value) return name;
    return std::to_string(value);
}

template <typename Map> int styleOf(const Map& names, const std::string& word, const char* what) {
    const auto found = names.find(word);
    if (found == names.end()) {
        std::string known;
        for (const auto& entry : names)
            known += (known.empty() ? "" : ", ") + entry.first;
        throw UsageError("Unknown " + std::string(what) + " \"" + word + "\" (one of " + known +
                         ")");
    }
    return found->second;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Looks at the entries recorded since the previous look for one exactly equal to expected; the
// next look starts after it, so that expectations in a row check entries in their order.
void requireRecorded(const std::vector<std::string>& recorded, std::size_t& checked,
                     const std::string& what, const std::string& expected) {
    const auto from = recorded.begin() + static_cast<std::ptrdiff_t>(checked);
    const auto found = std::find(from, recorded.end(), expected);
    std::string seen;
    for (auto it = from; it != recorded.end(); ++it)
        seen += "\n    " + *it;
    checked = found == recorded.end() ? recorded.size()
                                      : static_cast<std::size_t>(found - recorded.begin()) + 1;
    require(found != recorded.end(), what, expected, seen.empty() ? "(none)" : seen);
}

} // namespace

const std::map<std::string, ExpectCommands::Check>& ExpectCommands::checks() {
    static const std::map<std::string, Check> table = {
        {"sql", &ExpectCommands::sql},
        {"count", &ExpectCommands::count},
        {"message", &ExpectCommands::message},
        {"no-message", &ExpectCommands::noMessage},
        {"box", &ExpectCommands::box},
        {"dialog", &ExpectCommands::dialog},
        {"control", &ExpectCommands::control},
        {"no-dialog", &ExpectCommands::noDialog},
        {"window", &ExpectCommands::window},
        {"registry", &ExpectCommands::registryValue},
        {"file", &ExpectCommands::file},
        {"no-file", &ExpectCommands::noFile},
        {"statement", &ExpectCommands::statement},
        {"filter", &ExpectCommands::filter},
        {"displayed", &ExpectCommands::displayed},
        {"item", &ExpectCommands::item},
        {"fault-hit", &ExpectCommands::faultHit},
        {"consistent", &ExpectCommands::consistent},
        {"logged", &ExpectCommands::logged},
        {"bar", &ExpectCommands::bar},
        {"error", &ExpectCommands::error},
        {"not", &ExpectCommands::inverted},
    };
    return table;
}

void ExpectCommands::install(CommandTable& table) {
    table_ = &table;
    std::string usage = "expect";
    for (const auto& entry : checks())
        usage += (usage == "expect" ? " " : " | ") + entry.first;
    table.add("expect", usage + " ...", 2, [this](const Words& w) { expect(w); });
    table.add("answer", "answer yes|no|ok|cancel...", 2, [this](const Words& w) {
        static const std::map<std::string, int> answers = {{"yes", windows::vbYes},
                                                           {"no", windows::vbNo},
                                                           {"ok", windows::vbOK},
                                                           {"cancel", windows::vbCancel}};
        for (std::size_t i = 1; i < w.size(); ++i)
            ctx_.messages.answers.push_back(styleOf(answers, w[i], "answer"));
    });
    table.add("files", "files [PATH]", 1, [this](const Words& w) {
        const fs::path root = fs::path(installPath(ctx_.state)) / (w.size() > 1 ? w[1] : "");
        std::vector<std::string> found;
        if (fs::is_directory(root))
            for (const auto& entry : fs::recursive_directory_iterator(root))
                if (entry.is_regular_file())
                    found.push_back(fs::relative(entry.path(), root).generic_string());
        std::sort(found.begin(), found.end());
        for (const auto& name : found)
            ctx_.out << "  " << name << "\n";
    });
}

void ExpectCommands::expect(const Words& w) {
    const auto found = checks().find(w[1]);
    if (found == checks().end()) throw UsageError("Unknown expectation \"" + w[1] + "\"");
    (this->*found->second)(w);
}

// Rows joined by ", ", the columns of a row by "|"; "(none)" when there is no row.
std::string ExpectCommands::queryText(const std::string& sql) {
    ScriptContext::OwnCalls own(ctx_);
    ado::Recordset rs;
    rs.Open(sql, store_.connection());
    std::string text;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (!text.empty()) text += ", ";
        for (int c = 0; c < rs.FieldCount(); ++c)
            text += (c ? "|" : "") + rs.Fields(c).Value().text();
    }
    return text.empty() ? "(none)" : text;
}

void ExpectCommands::sql(const Words& w) {
    const auto [statement, expected] = splitArrow(w, 2);
    const std::string found = queryText(statement);
    require(found == expected, statement, expected, found);
}

void ExpectCommands::count(const Words& w) {
    needWords(w, 3, "count FOLDER FILTER => N");
    const auto [filter, expected] = splitArrow(w, 3);
    ScriptContext::OwnCalls own(ctx_);
    const auto found = std::to_string(host_.folderByPath(w[2])->Items()->Restrict(filter)->Count());
    require(found == expected, filter, expected, found);
}

// Message expectations look at the boxes shown since the previous one.
void ExpectCommands::message(const Words& w) {
    const auto& shown = ctx_.messages.shown;
    const std::string found =
        shown.size() > ctx_.checkedMessages ? shown.back().text : std::string("(none)");
    ctx_.checkedMessages = shown.size();
    const std::string expected = joinFrom(w, 2);
    require(matches(expected, found), "last message box", expected, found);
}

void ExpectCommands::noMessage(const Words&) {
    const auto& shown = ctx_.messages.shown;
    const std::string found =
        shown.size() > ctx_.checkedMessages ? shown.back().text : std::string("(none)");
    ctx_.checkedMessages = shown.size();
    require(found == "(none)", "no message box", "(none)", found);
}

// The oldest box not looked at yet: its icon, its buttons and its text.
void ExpectCommands::box(const Words& w) {
    needWords(w, 5, "box ICON BUTTONS TEXT");
    const int icon = styleOf(iconStyles, w[2], "icon");
    const int buttons = styleOf(buttonStyles, w[3], "button set");
    const std::string text = joinFrom(w, 4);
    const std::string expected = w[2] + " " + w[3] + " " + text;
    const auto& shown = ctx_.messages.shown;
    if (ctx_.checkedMessages >= shown.size())
        require(false, "next message box", expected, "(none)");
    const auto& next = shown[ctx_.checkedMessages++];
    const std::string found = nameOf(iconStyles, next.style & 0x70) + " " +
                              nameOf(buttonStyles, next.style & 0x0F) + " " + next.text;
    require((next.style & 0x70) == icon && (next.style & 0x0F) == buttons &&
                matches(text, next.text),
            "next message box", expected, found);
}

void ExpectCommands::dialog(const Words& w) {
    const std::string expected = joinFrom(w, 2);
    require(!ctx_.forms.empty(), "dialog shows", expected, "(no dialog)");
    const std::string found = ctx_.currentForm().describe();
    require(found.find(expected) != std::string::npos, ctx_.currentForm().Name() + " shows",
            expected, found);
}

void ExpectCommands::control(const Words& w) {
    needWords(w, 4, "control CONTROL TEXT");
    const controls::Control& target = dialogs_.control(w[2]);
    const std::string expected = joinFrom(w, 3);
    const std::string found = target.describe();
    require(found.find(expected) != std::string::npos, target.displayName() + " shows", expected,
            found);
}

void ExpectCommands::noDialog(const Words&) {
    require(ctx_.forms.empty(), "no dialog", "(none)",
            ctx_.forms.empty() ? "" : ctx_.forms.back()->Name());
}

void ExpectCommands::window(const Words& w) {
    const std::string title = joinFrom(w, 2);
    require(ctx_.windows.FindWindow(title), "window", title, "(none)");
}

void ExpectCommands::registryValue(const Words& w) {
    needWords(w, 4, "registry [setting/]NAME TEXT|(none)");
    const auto [key, name] = StoreCommands::registryName(w[2]);
    const auto value = ctx_.registry.QueryValue(key, name);
    const std::string found = value ? StoreCommands::registryText(*value) : "(none)";
    const std::string expected = joinFrom(w, 3);
    require(found == expected, "registry value " + w[2], expected, found);
}

void ExpectCommands::file(const Words& w) {
    needWords(w, 3, "file PATH [TEXT]");
    const fs::path path = fs::path(installPath(ctx_.state)) / w[2];
    require(fs::is_regular_file(path), "file", path.string(), "(none)");
    if (w.size() < 4) return;
    const std::string expected = joinFrom(w, 3);
    const std::string found = fileText(path);
    require(found.find(expected) != std::string::npos, path.string() + " holds", expected, found);
}

void ExpectCommands::noFile(const Words& w) {
    needWords(w, 3, "no-file PATH");
    const fs::path path = fs::path(installPath(ctx_.state)) / w[2];
    require(!fs::exists(path), "no file", path.string(), "it exists");
}

void ExpectCommands::statement(const Words& w) {
    needWords(w, 3, "statement TEXT");
    requireRecorded(ctx_.statements, ctx_.checkedStatements, "statement sent", w.rest(2));
}

void ExpectCommands::filter(const Words& w) {
    needWords(w, 3, "filter TEXT");
    requireRecorded(ctx_.filters, ctx_.checkedFilters, "filter handed to the host", w.rest(2));
}

void ExpectCommands::displayed(const Words& w) {
    needWords(w, 3, "displayed SUBJECT");
    requireRecorded(ctx_.displayed, ctx_.checkedDisplayed, "item displayed", joinFrom(w, 2));
}

// The item's own properties read back through the object model; Links, Recipients and
// Attachments give the number of entries of that collection.
void ExpectCommands::item(const Words& w) {
    needWords(w, 4, "item NAME Property=Value...");
    const host::ItemPtr target = ctx_.named(w[2]);
    std::string expected, found;
    for (std::size_t i = 3; i < w.size(); ++i) {
        const auto eq = w[i].find('=');
        if (eq == std::string::npos || eq == 0)
            throw UsageError("Expected Property=Value, got \"" + w[i] + "\"");
        const std::string property = w[i].substr(0, eq);
        std::string value;
        if (property == "Links")
            value = std::to_string(target->Links().Count());
        else if (property == "Recipients")
            value = std::to_string(target->Recipients().Count());
        else if (property == "Attachments")
            value = std::to_string(target->Attachments().Count());
        else
            value = host::variantText(target->Get(property));
        expected += " " + w[i];
        found.append(" ").append(property).append("=").append(value);
    }
    require(expected == found, "item " + w[2], expected.substr(1), found.substr(1));
}

// "expect bar BAR [ITEM] TEXT": the bar of the explorer, or of the window open on ITEM, as
// "describe bar" prints it, holds TEXT.
void ExpectCommands::bar(const Words& w) {
    needWords(w, 4, "bar BAR [ITEM] TEXT");
    host::CommandBars* bars = w.size() > 4 ? itemWindowBars(ctx_, w[3]) : nullptr;
    // Taken as typed: the description quotes its texts.
    const std::string expected = w.rest(bars ? 4 : 3);
    const std::string found = describeBar((bars ? *bars : explorerBars(ctx_)).Item(w[2]));
    require(found.find(expected) != std::string::npos, "bar " + w[2] + " shows", expected,
            "\n" + found);
}

// "expect fault-hit MEMBER [N]": the injected fault was raised (exactly N times).
void ExpectCommands::faultHit(const Words& w) {
    needWords(w, 3, "fault-hit MEMBER [N]");
    const int hits = ctx_.host.faultHits(w[2]);
    if (w.size() > 3)
        return require(std::to_string(hits) == w[3], "fault " + w[2] + " raised", w[3] + " times",
                       std::to_string(hits) + " times");
    require(hits > 0, "fault " + w[2] + " raised", "at least once", "never");
}

// "expect consistent": every link has its history row and the reverse, and the attachment
// copies on disk are exactly those the Attachments rows name.
void ExpectCommands::consistent(const Words& w) {
    needWords(w, 2, "consistent");
    ScriptContext::OwnCalls own(ctx_);
    std::string found;
    for (const std::string& problem :
         findInconsistencies(store_.connection(), attachmentRoot(ctx_.state)))
        found += (found.empty() ? "" : "\n") + problem;
    require(found.empty(), "the link store and its copies", "consistent", found);
}

// "expect logged TEXT": this run wrote a warning or an error to the log that holds TEXT; it is
// how a script sees a failure the add-in does not show but must not drop.
void ExpectCommands::logged(const Words& w) {
    needWords(w, 3, "logged TEXT");
    const std::string text = w.rest(2);
    const std::string process = "[" + std::to_string(::getpid()) + "] ";
    std::ifstream in(log::defaultPath());
    std::string found;
    for (std::string line; std::getline(in, line);) {
        if (line.find(process + "warning: ") == std::string::npos &&
            line.find(process + "error: ") == std::string::npos)
            continue;
        if (line.find(text) != std::string::npos) return;
        found += (found.empty() ? "" : "\n") + line;
    }
    require(false, "the log", "a warning or error with " + text,
            found.empty() ? "(no warning or error of this run)" : found);
}

// "expect error TEXT LINE...": the line must fail, with an error that holds TEXT.
void ExpectCommands::error(const Words& w) {
    needWords(w, 4, "error TEXT COMMAND...");
    const std::string line = w.rest(3);
    std::string found = "(no error)";
    try {
        table_->execute(Words{splitWords(line), line});
    } catch (const std::exception& e) {
        found = e.what();
    }
    require(found != "(no error)" && found.find(w[2]) != std::string::npos, line,
            "an error with " + w[2], found);
}

// "expect not ...": the expectation that follows must fail; a usage error stays one.
void ExpectCommands::inverted(const Words& w) {
    needWords(w, 3, "not EXPECTATION...");
    const std::string line = "expect " + w.rest(2);
    try {
        expect(Words{splitWords(line), line});
    } catch (const ExpectationFailed&) {
        return;
    }
    require(false, line, "to fail", "it holds");
}

} // namespace velmora::app

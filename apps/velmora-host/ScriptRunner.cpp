// The scripted host's command interpreter.
// Each command is a small verb over the host, the store or the registry; errors name the line.
#include "ScriptRunner.h"

#include "platform/ado/Recordset.h"
#include "store/StoreSession.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace velmora::app {

namespace {

std::string joinFrom(const std::vector<std::string>& words, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < words.size(); ++i)
        text += (i > from ? " " : "") + words[i];
    return text;
}

int defaultFolderOf(const std::string& kind) {
    if (kind == "mail")
        return host::olFolderInbox;
    if (kind == "contact")
        return host::olFolderContacts;
    if (kind == "appointment")
        return host::olFolderCalendar;
    if (kind == "note")
        return host::olFolderNotes;
    if (kind == "task")
        return host::olFolderTasks;
    throw std::runtime_error("Unknown item kind \"" + kind +
                             "\" (mail, contact, appointment, note, task)");
}

int itemTypeOf(const std::string& kind) {
    if (kind == "mail")
        return host::olMailItem;
    if (kind == "contact")
        return host::olContactItem;
    if (kind == "appointment")
        return host::olAppointmentItem;
    if (kind == "note")
        return host::olNoteItem;
    return host::olTaskItem;
}

host::Variant parseValue(const std::string& text) {
    ado::DateTime date;
    if (ado::parseDateTime(text, date))
        return date;
    if (text == "true" || text == "false")
        return text == "true";
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && end && *end == '\0')
        return number;
    return text;
}

} // namespace

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        word += c;
        inWord = true;
    }
    if (quoted)
        throw std::runtime_error("Unclosed double quote");
    if (inWord)
        words.push_back(word);
    return words;
}

ScriptRunner::ScriptRunner(std::ostream& out)
    : out_(out), registry_(registry::FileRegistry::defaultPath()), mapi_(host_.application()) {
    state_.platform.application = &host_.application();
    state_.platform.messageBox = &messages_;
    state_.platform.windowSystem = &windows_;
    state_.platform.registry = &registry_;
    state_.platform.mapi = &mapi_;
    if (const char* target = std::getenv("VELMORA_STORE_CONNECTION"))
        state_.platform.storeConnectionString = target;
}

int ScriptRunner::run(std::istream& in, bool keepGoing) {
    std::string line;
    int lineNumber = 0, failures = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        try {
            execute(splitWords(line));
        } catch (const std::exception& e) {
            ++failures;
            out_ << "error (line " << lineNumber << "): " << e.what() << "\n";
            if (!keepGoing) {
                flushMessages();
                return 1;
            }
        }
        flushMessages();
    }
    return failures == 0 ? 0 : 1;
}

void ScriptRunner::flushMessages() {
    for (; shownMessages_ < messages_.shown.size(); ++shownMessages_)
        out_ << "[" << messages_.shown[shownMessages_].title << "] "
             << messages_.shown[shownMessages_].text << "\n";
}

host::ItemPtr ScriptRunner::named(const std::string& name) const {
    const auto found = items_.find(name);
    if (found == items_.end())
        throw std::runtime_error("No item is called \"" + name + "\"");
    return found->second;
}

host::FolderPtr ScriptRunner::folderByPath(const std::string& path) {
    auto& ns = host_.application().GetNamespace("MAPI");
    std::vector<std::string> parts;
    std::istringstream split(path);
    for (std::string part; std::getline(split, part, '/');)
        parts.push_back(part);
    // A path starts at a store's root when its first part names one, else at the default store.
    host::FolderPtr folder = ns.GetDefaultFolder(host::olFolderInbox)->Parent();
    std::size_t first = 0;
    for (auto& root : ns.Folders())
        if (!parts.empty() && root->Name() == parts[0]) {
            folder = root;
            first = 1;
        }
    for (std::size_t i = first; i < parts.size(); ++i) {
        host::FolderPtr next;
        for (auto& child : folder->Folders())
            if (child->Name() == parts[i])
                next = child;
        if (!next)
            throw std::runtime_error("No folder \"" + parts[i] + "\" in \"" + path + "\"");
        folder = next;
    }
    return folder;
}

void ScriptRunner::applyProperties(host::Item& item, const std::vector<std::string>& words,
                                   std::size_t from) {
    for (std::size_t i = from; i < words.size(); ++i) {
        const auto eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0)
            throw std::runtime_error("Expected Property=Value, got \"" + words[i] + "\"");
        item.Set(words[i].substr(0, eq), parseValue(words[i].substr(eq + 1)));
    }
}

void ScriptRunner::printItem(const host::Item& item) {
    out_ << "  class " << item.Class() << "  \"" << item.Subject() << "\"  " << item.EntryID()
         << "\n";
}

void ScriptRunner::ensureStore() {
    if (!state_.storeConnection)
        state_.storeConnection = openStore(state_);
}

void ScriptRunner::printQuery(const std::string& sql) {
    ensureStore();
    ado::Recordset rs;
    rs.Open(sql, state_.connection());
    for (int c = 0; c < rs.FieldCount(); ++c)
        out_ << (c ? "\t" : "  ") << rs.Fields(c).Name();
    out_ << "\n";
    for (; !rs.IsEOF(); rs.MoveNext()) {
        for (int c = 0; c < rs.FieldCount(); ++c)
            out_ << (c ? "\t" : "  ") << rs.Fields(c).Value().text();
        out_ << "\n";
    }
}

void ScriptRunner::execute(const std::vector<std::string>& words) {
    if (words.empty())
        return;
    const std::string& verb = words[0];
    auto need = [&](std::size_t n, const char* usage) {
        if (words.size() < n)
            throw std::runtime_error(std::string("usage: ") + usage);
    };
    if (verb == "echo") {
        out_ << joinFrom(words, 1) << "\n";
    } else if (verb == "store") {
        need(2, "store init");
        ensureStore();
        out_ << "link store open: " << state_.connection().ConnectionString() << "\n";
    } else if (verb == "user") {
        need(2, "user NAME");
        ensureStore();
        state_.connection().Execute("delete from CurrentUser");
        state_.connection().Execute("insert into CurrentUser (CurrentUser) values ('" +
                                    ado::sqlText(words[1]) + "')");
        state_.currentUser = getCurrentUser(state_);
        out_ << "current user: " << state_.currentUser << "\n";
    } else if (verb == "new") {
        need(3, "new KIND NAME [Property=Value...]");
        auto folder = host_.application().GetNamespace("MAPI").GetDefaultFolder(
            defaultFolderOf(words[1]));
        auto item = folder->Items()->Add(itemTypeOf(words[1]));
        applyProperties(*item, words, 3);
        item->Save();
        items_[words[2]] = item;
        out_ << "new " << words[1] << " " << words[2] << " in " << folder->Name() << "\n";
    } else if (verb == "set") {
        need(3, "set NAME Property=Value...");
        auto item = named(words[1]);
        applyProperties(*item, words, 2);
        item->Save();
    } else if (verb == "link") {
        need(3, "link ITEM CONTACT");
        named(words[1])->Links().Add(named(words[2]));
        named(words[1])->Save();
    } else if (verb == "show") {
        need(2, "show selection | show NAME");
        if (words[1] == "selection") {
            const auto& selection = host_.application().ActiveExplorer()->Selection();
            out_ << "selection: " << selection.Count() << " item(s)\n";
            for (int i = 1; i <= selection.Count(); ++i)
                printItem(*selection.Item(i));
        } else {
            printItem(*named(words[1]));
        }
    } else if (verb == "folder") {
        need(2, "folder PATH");
        auto folder = folderByPath(words[1]);
        host_.application().ActiveExplorer()->SetCurrentFolder(folder);
        out_ << "folder: " << folder->Name() << "\n";
    } else if (verb == "select") {
        std::vector<host::ItemPtr> chosen;
        for (std::size_t i = 1; i < words.size(); ++i)
            chosen.push_back(named(words[i]));
        host_.application().ActiveExplorer()->Select(chosen);
    } else if (verb == "find") {
        need(3, "find FOLDER FILTER");
        auto found = folderByPath(words[1])->Items()->Restrict(joinFrom(words, 2));
        out_ << "found " << found->Count() << "\n";
        for (int i = 1; i <= found->Count(); ++i)
            printItem(*found->Item(i));
    } else if (verb == "sql") {
        need(2, "sql STATEMENT");
        printQuery(joinFrom(words, 1));
    } else if (verb == "fail") {
        need(3, "fail MEMBER DESCRIPTION");
        host_.failMember(words[1], joinFrom(words, 2));
    } else if (verb == "send") {
        need(2, "send NAME");
        named(words[1])->Send();
    } else if (verb == "deliver") {
        host_.deliverOutbox();
    } else {
        throw std::runtime_error("Unknown command \"" + verb + "\"");
    }
}

} // namespace velmora::app

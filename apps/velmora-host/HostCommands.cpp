// The mail host verbs of the scripted host: new, set, link, show, folder, select, find, open,
// compose, send, deliver, delivery, clock, receive, fail and explorer.
#include "HostCommands.h"

#include "platform/ado/Value.h"
#include "platform/host/PropertyCatalog.h"
#include "store/TrimBlanks.h"

#include <map>
#include <sstream>

namespace velmora::app {

namespace {

struct Kind {
    const char* name;
    int folder;
    int itemType;
};

constexpr Kind kinds[] = {{"mail", host::olFolderInbox, host::olMailItem},
                          {"contact", host::olFolderContacts, host::olContactItem},
                          {"appointment", host::olFolderCalendar, host::olAppointmentItem},
                          {"note", host::olFolderNotes, host::olNoteItem},
                          {"task", host::olFolderTasks, host::olTaskItem}};

const Kind& kindOf(const std::string& name) {
    for (const Kind& kind : kinds)
        if (name == kind.name) return kind;
    throw std::runtime_error("Unknown item kind \"" + name +
                             "\" (mail, contact, appointment, note, task)");
}

// A value as the object model declares the property: text stays text ("0012" is not 12).
host::Variant parseValue(const std::string& property, const std::string& text) {
    const auto& catalog = host::PropertyCatalog::instance();
    const int slot = catalog.find(property);
    if (slot < 0) throw UsageError("Unknown property \"" + property + "\"");
    switch (catalog.def(slot).type) {
    case host::PropType::Text:
        return text;
    case host::PropType::Flag:
        if (text == "true" || text == "1") return true;
        if (text == "false" || text == "0") return false;
        throw UsageError(property + " takes true or false, not \"" + text + "\"");
    case host::PropType::Date: {
        ado::DateTime date;
        if (!ado::parseDateTime(text, date))
            throw UsageError(property + " takes a date such as 2026-12-07 09:00:00, not \"" + text +
                             "\"");
        return date;
    }
    case host::PropType::Number:
        break;
    }
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || !end || *end != '\0')
        throw UsageError(property + " takes a number, not \"" + text + "\"");
    return number;
}

// "Name <address>" or a bare address, several separated by ";".
std::vector<host::Recipient> parseRecipients(const std::string& text, int type) {
    std::vector<host::Recipient> found;
    std::istringstream list(text);
    for (std::string entry; std::getline(list, entry, ';');) {
        entry = trimBlanks(entry);
        if (entry.empty()) continue;
        const auto open = entry.find('<');
        if (open != std::string::npos && entry.back() == '>') {
            std::string name = entry.substr(0, open);
            name = name.substr(0, name.find_last_not_of(' ') + 1);
            const std::string address = entry.substr(open + 1, entry.size() - open - 2);
            found.push_back({name.empty() ? address : name, address, type});
        } else {
            found.push_back({entry, entry, type});
        }
    }
    return found;
}

// A pattern member by name: the recurrence members the add-in reads.
void setPatternMember(host::RecurrencePattern& pattern, const std::string& member,
                      const std::string& value) {
    const std::map<std::string, int*> numbers = {{"RecurrenceType", &pattern.RecurrenceType},
                                                 {"Interval", &pattern.Interval},
                                                 {"DayOfWeekMask", &pattern.DayOfWeekMask},
                                                 {"DayOfMonth", &pattern.DayOfMonth},
                                                 {"Instance", &pattern.Instance},
                                                 {"MonthOfYear", &pattern.MonthOfYear},
                                                 {"Occurrences", &pattern.Occurrences}};
    if (const auto found = numbers.find(member); found != numbers.end()) {
        *found->second = std::stoi(value);
        return;
    }
    if (member == "NoEndDate") {
        pattern.NoEndDate = value == "true" || value == "1";
        return;
    }
    ado::DateTime date;
    if ((member == "PatternStartDate" || member == "PatternEndDate") &&
        ado::parseDateTime(value, date)) {
        (member == "PatternStartDate" ? pattern.PatternStartDate : pattern.PatternEndDate) = date;
        return;
    }
    throw UsageError("Unknown recurrence member or value \"" + member + "=" + value + "\"");
}

std::pair<std::string, std::string> propertyAndValue(const std::string& word) {
    const auto eq = word.find('=');
    if (eq == std::string::npos || eq == 0)
        throw UsageError("Expected Property=Value, got \"" + word + "\"");
    return {word.substr(0, eq), word.substr(eq + 1)};
}

} // namespace

host::FolderPtr HostCommands::folderByPath(const std::string& path) const {
    auto& ns = ctx_.host.application().GetNamespace("MAPI");
    std::vector<std::string> parts;
    std::istringstream split(path);
    for (std::string part; std::getline(split, part, '/');)
        parts.push_back(part);
    // A path starts at a store's root when its first part names one, else at the default store.
    host::FolderPtr folder = ctx_.host.folder(host::olFolderInbox)->Parent();
    std::size_t first = 0;
    for (auto& root : ns.Folders())
        if (!parts.empty() && root->Name() == parts[0]) {
            folder = root;
            first = 1;
        }
    for (std::size_t i = first; i < parts.size(); ++i) {
        host::FolderPtr next;
        for (auto& child : folder->Folders())
            if (child->Name() == parts[i]) next = child;
        if (!next) throw std::runtime_error("No folder \"" + parts[i] + "\" in \"" + path + "\"");
        folder = next;
    }
    return folder;
}

void HostCommands::applyProperties(host::Item& item, const Words& words, std::size_t from) const {
    static const std::map<std::string, int> recipientTypes = {
        {"To", host::olTo}, {"Cc", host::olCC}, {"Bcc", host::olBCC}};
    for (std::size_t i = from; i < words.size(); ++i) {
        const auto [property, value] = propertyAndValue(words[i]);
        if (const auto type = recipientTypes.find(property); type != recipientTypes.end()) {
            for (const host::Recipient& recipient : parseRecipients(value, type->second))
                item.Recipients().Add(recipient);
            continue;
        }
        item.Set(property, parseValue(property, value));
    }
}

void HostCommands::printItem(const host::Item& item) const {
    ctx_.out << "  class " << item.Class() << "  \"" << item.Subject() << "\"  " << item.EntryID()
             << "\n";
}

void HostCommands::install(CommandTable& table) {
    addVerbs(
        table, *this,
        {
            {"new", "new KIND NAME [in=FOLDER] [Property=Value...]", 3, &HostCommands::newItem},
            {"receive", "receive NAME SUBJECT SENDER-NAME SENDER-ADDRESS [Property=Value...]", 5,
             &HostCommands::receive},
            {"set", "set NAME Property=Value...", 3, &HostCommands::set},
            {"attach-file", "attach-file NAME DISPLAY-NAME CONTENT", 4, &HostCommands::attachFile},
            {"link", "link ITEM TARGET", 3, &HostCommands::link},
            {"unlink", "unlink ITEM TARGET", 3, &HostCommands::unlink},
            {"recur", "recur NAME Member=Value...", 3, &HostCommands::recur},
            {"delete", "delete NAME", 2, &HostCommands::deleteItem},
            {"show", "show selection | show NAME", 2, &HostCommands::show},
            {"folder", "folder PATH", 2, &HostCommands::folder},
            {"mkfolder", "mkfolder PARENT-PATH NAME KIND", 4, &HostCommands::mkfolder},
            {"select", "select NAME...", 1, &HostCommands::select},
            {"find", "find FOLDER FILTER", 3, &HostCommands::find},
            {"name", "name NAME FOLDER FILTER", 4, &HostCommands::name},
            {"compose", "compose NAME [Property=Value...]", 2, &HostCommands::compose},
            {"open", "open NAME", 2, &HostCommands::open},
            {"send", "send NAME", 2, &HostCommands::send},
            {"deliver", "deliver", 1, &HostCommands::deliver},
            {"delivery", "delivery on-send | delivery on-deliver", 2, &HostCommands::delivery},
            {"clock", "clock YYYY-MM-DD HH:MM:SS | clock real", 2, &HostCommands::clock},
            {"host-language", "host-language zh|en", 2, &HostCommands::hostLanguage},
            {"timezone", "timezone ZONE", 2, &HostCommands::timezone},
            {"timeformat", "timeformat PATTERN", 2, &HostCommands::timeformat},
            {"fail", "fail MEMBER DESCRIPTION [N] | fail store PATTERN DESCRIPTION | fail clear", 2,
             &HostCommands::fail},
            {"explorer", "explorer close | explorer open", 2, &HostCommands::explorer},
        });
}

void HostCommands::newItem(const Words& w) {
    const Kind& kind = kindOf(w[1]);
    std::size_t from = 3;
    host::FolderPtr folder = ctx_.host.folder(kind.folder);
    if (w.size() > 3 && w[3].rfind("in=", 0) == 0) {
        folder = folderByPath(w[3].substr(3));
        from = 4;
    }
    auto item = folder->Items()->Add(kind.itemType);
    applyProperties(*item, w, from);
    item->Save();
    ctx_.items[w[2]] = item;
    ctx_.out << "new " << w[1] << " " << w[2] << " in " << folder->Name() << "\n";
}

void HostCommands::receive(const Words& w) {
    auto mail = ctx_.host.receiveMail(w[2], w[3], w[4]);
    applyProperties(*mail, w, 5);
    if (w.size() > 5) mail->Save();
    ctx_.items[w[1]] = mail;
    ctx_.out << "received mail " << w[1] << " from " << w[3] << "\n";
}

void HostCommands::set(const Words& w) {
    auto item = ctx_.named(w[1]);
    applyProperties(*item, w, 2);
    item->Save();
}

void HostCommands::attachFile(const Words& w) {
    auto item = ctx_.named(w[1]);
    item->Attachments().Add(w[2], joinFrom(w, 3));
    item->Save();
}

void HostCommands::link(const Words& w) {
    ctx_.named(w[1])->Links().Add(ctx_.named(w[2]));
    ctx_.named(w[1])->Save();
}

void HostCommands::unlink(const Words& w) {
    auto item = ctx_.named(w[1]);
    const std::string target = ctx_.named(w[2])->EntryID();
    auto& links = item->Links();
    for (int i = 1; i <= links.Count(); ++i)
        if (auto linked = links.Item(i); linked && linked->EntryID() == target) {
            links.Remove(i);
            return item->Save();
        }
    throw UsageError(w[1] + " has no link to " + w[2]);
}

void HostCommands::recur(const Words& w) {
    auto item = ctx_.named(w[1]);
    host::RecurrencePattern pattern;
    for (std::size_t i = 2; i < w.size(); ++i) {
        const auto [member, value] = propertyAndValue(w[i]);
        setPatternMember(pattern, member, value);
    }
    item->SetRecurrencePattern(pattern);
    item->Save();
}

void HostCommands::deleteItem(const Words& w) {
    ctx_.named(w[1])->Delete();
    ctx_.items.erase(w[1]);
}

void HostCommands::show(const Words& w) {
    if (w[1] != "selection") return printItem(*ctx_.named(w[1]));
    const auto explorer = ctx_.activeExplorer();
    const auto& selection = explorer->Selection();
    ctx_.out << "selection: " << selection.Count() << " item(s)\n";
    for (int i = 1; i <= selection.Count(); ++i)
        printItem(*selection.Item(i));
}

void HostCommands::folder(const Words& w) {
    const auto explorer = ctx_.activeExplorer();
    auto folder = folderByPath(w[1]);
    explorer->SetCurrentFolder(folder);
    ctx_.out << "folder: " << folder->Name() << "\n";
}

void HostCommands::mkfolder(const Words& w) {
    folderByPath(w[1])->AddFolder(w[2], kindOf(w[3]).itemType);
}

void HostCommands::select(const Words& w) {
    std::vector<host::ItemPtr> chosen;
    for (std::size_t i = 1; i < w.size(); ++i)
        chosen.push_back(ctx_.named(w[i]));
    const auto explorer = ctx_.activeExplorer();
    explorer->Select(chosen);
}

void HostCommands::find(const Words& w) {
    ScriptContext::OwnCalls own(ctx_);
    auto found = folderByPath(w[1])->Items()->Restrict(w.rest(2));
    ctx_.out << "found " << found->Count() << "\n";
    for (int i = 1; i <= found->Count(); ++i)
        printItem(*found->Item(i));
}

// Items that were there before the script ran (a mailbox of an earlier run) get their names here.
void HostCommands::name(const Words& w) {
    ScriptContext::OwnCalls own(ctx_);
    auto found = folderByPath(w[2])->Items()->Find(w.rest(3));
    if (!found) throw std::runtime_error("No item of " + w[2] + " passes " + w.rest(3));
    ctx_.items[w[1]] = found;
    ctx_.out << "named " << w[1] << "\n";
    printItem(*found);
}

void HostCommands::compose(const Words& w) {
    auto mail = ctx_.host.application().CreateItem(host::olMailItem);
    applyProperties(*mail, w, 2);
    ctx_.items[w[1]] = mail;
    ctx_.host.application().OpenInspector(mail);
    ctx_.out << "composing mail " << w[1] << "\n";
}

void HostCommands::open(const Words& w) {
    ctx_.host.application().OpenInspector(ctx_.named(w[1]));
}

void HostCommands::send(const Words& w) {
    ctx_.named(w[1])->Send();
}

void HostCommands::deliver(const Words&) {
    ctx_.host.deliverOutbox();
}

void HostCommands::delivery(const Words& w) {
    if (w[1] != "on-send" && w[1] != "on-deliver")
        throw std::runtime_error("usage: delivery on-send | delivery on-deliver");
    ctx_.host.holdDelivery(w[1] == "on-deliver");
}

void HostCommands::clock(const Words& w) {
    if (w[1] == "real") return ctx_.clock.run();
    ado::DateTime at;
    if (!ado::parseDateTime(joinFrom(w, 1), at))
        throw UsageError("usage: clock YYYY-MM-DD HH:MM:SS | clock real");
    ctx_.clock.stopAt(at);
}

void HostCommands::hostLanguage(const Words& w) {
    if (w[1] != "zh" && w[1] != "en") throw UsageError("usage: host-language zh|en");
    if (!ctx_.items.empty())
        throw UsageError("host-language comes before the first item or folder command");
    ctx_.host.useLanguage(w[1] == "zh");
}

void HostCommands::timezone(const Words& w) {
    try {
        ctx_.clock.setZone(w[1]);
    } catch (const timekeeping::ClockError& e) {
        throw UsageError(e.what());
    }
}

void HostCommands::timeformat(const Words& w) {
    ctx_.clock.setTimeFormat(w.rest(1));
}

void HostCommands::fail(const Words& w) {
    if (w[1] == "clear") {
        ctx_.storeFaults.clear();
        return ctx_.host.clearFaults();
    }
    if (w[1] == "store") {
        if (w.size() < 4) throw UsageError("usage: fail store PATTERN DESCRIPTION");
        ctx_.storeFaults.emplace_back(w[2], joinFrom(w, 3));
        return;
    }
    if (w.size() < 3) throw UsageError("usage: fail MEMBER DESCRIPTION [N]");
    // A last word that is a number limits the fault to that many calls.
    const std::string& last = w[w.size() - 1];
    const bool counted =
        w.size() > 3 && !last.empty() && last.find_first_not_of("0123456789") == std::string::npos;
    if (!counted) return ctx_.host.failMember(w[1], w.rest(2));
    ctx_.host.failMember(w[1], joinFrom(Words{{w.list.begin(), w.list.end() - 1}, ""}, 2),
                         std::stoi(last));
}

void HostCommands::explorer(const Words& w) {
    if (w[1] == "close") return ctx_.host.closeAllExplorers();
    ctx_.host.addExplorer();
}

} // namespace velmora::app

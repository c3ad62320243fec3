// The links of one item, read from the two link tables. The tables code the linked item's kind
// differently (noteTb's 1 is an appointment, ToEvent's a mail), so each table carries its words.
#include "LinkReport.h"

#include "platform/ado/Recordset.h"
#include "platform/text/QuotedText.h"

#include <utility>
#include <vector>

namespace velmora::app {

namespace {

struct LinkTable {
    const char* table;
    const char* itemColumn;   // the linked item's entry ID
    const char* targetColumn; // the contact's or appointment's entry ID
    const char* targetServerColumn;
    const char* targetWord;
    // Reads the target's name by its entry ID, where a table of the store records one.
    const char* targetNameLookup;
    std::vector<std::pair<int, const char*>> kinds; // type code, kind in words
    bool hasEditDateAndAccess;
};

const std::vector<LinkTable>& linkTables() {
    static const std::vector<LinkTable> tables = {
        {"noteTb",
         "OutlookAttachID",
         "OutlookContactID",
         "contactID",
         "contact",
         nullptr, // contacts' names live in the mail host only
         {{1, "appointment"}, {2, "mail"}, {4, "note"}},
         true},
        {"ToEvent",
         "OutlookEmailID",
         "OutlookApptID",
         "ContactID",
         "event",
         "select eventname from CalendarHistory where taskid=",
         {{1, "mail"}, {4, "note"}},
         false},
    };
    return tables;
}

std::string kindWord(const LinkTable& table, const ado::Value& type) {
    if (type.isNull()) return "item of no recorded kind";
    for (const auto& [code, word] : table.kinds)
        if (type.toInt() == code) return word;
    return "item of kind " + type.text();
}

// A server id as the row keeps it; "-1" marks an item the server has not numbered yet.
std::string serverIdWords(const std::string& serverId) {
    if (serverId.empty()) return "";
    if (serverId == "-1") return " (no server id yet)";
    return " (server id " + serverId + ")";
}

// The target's name, as the store records it (an event's subject in its history copy); empty
// when it records none.
std::string targetName(ado::Connection& store, const LinkTable& table, const std::string& target) {
    if (!table.targetNameLookup) return "";
    ado::Recordset rs;
    rs.Open(table.targetNameLookup + text::sqlLiteral(target), store);
    return rs.IsEOF() ? "" : rs.Fields(0).Value().text();
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts)
        out += (out.empty() ? "" : ", ") + part;
    return out;
}

void printLink(ado::Connection& store, const LinkTable& table, ado::Recordset& rs,
               std::ostream& out) {
    const auto field = [&](const char* column) { return rs.Fields(column).Value().text(); };
    const std::string target = field(table.targetColumn);
    const std::string name = targetName(store, table, target);
    out << kindWord(table, rs.Fields("type").Value()) << ' ' << field(table.itemColumn)
        << serverIdWords(field("Attached_ID")) << " linked to " << table.targetWord << ' '
        << (name.empty() ? "" : text::quoted(name) + " ") << target
        << serverIdWords(field(table.targetServerColumn))
        << (rs.Fields("MakeDelete").Value().toBool() ? " (removed)" : "") << '\n';

    if (const std::string regarding = field("Regarding"); !regarding.empty())
        out << "  regarding " << text::quoted(regarding) << '\n';

    std::vector<std::string> when;
    if (const std::string created = field("DateCreated"); !created.empty())
        when.push_back("created " + created);
    if (table.hasEditDateAndAccess)
        if (const std::string edited = field("DateEdit"); !edited.empty())
            when.push_back("changed " + edited);
    if (const std::string creator = field("Creator"); !creator.empty())
        when.push_back("creator " + creator);
    if (!when.empty()) out << "  " << joined(when) << '\n';

    std::vector<std::string> flags;
    if (table.hasEditDateAndAccess)
        flags.emplace_back(rs.Fields("PrivateAccess").Value().toBool() ? "private to its creator"
                                                                       : "visible to every user");
    if (rs.Fields("bAttachment").Value().toBool()) flags.emplace_back("its attachments linked too");
    if (!flags.empty()) out << "  " << joined(flags) << '\n';
}

} // namespace

std::size_t printLinks(ado::Connection& store, const std::string& entryId, std::ostream& out) {
    std::size_t count = 0;
    const std::string id = text::sqlLiteral(entryId);
    for (const LinkTable& table : linkTables()) {
        std::string sql = "select * from ";
        sql.append(table.table).append(" where ").append(table.itemColumn).append("=");
        sql.append(id).append(" or ").append(table.targetColumn).append("=").append(id);
        sql.append(" order by DateCreated");
        ado::Recordset rs;
        rs.Open(sql, store);
        for (; !rs.IsEOF(); rs.MoveNext(), ++count)
            printLink(store, table, rs, out);
    }
    return count;
}

} // namespace velmora::app

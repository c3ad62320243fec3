// The link store's tables and lookup indexes. Yes/no flags are integers defaulting to 0 so that
// inserts which do not name them read as false; ids are text compared exactly (no NOCASE).
#include "store/Schema.h"

#include "platform/ado/Recordset.h"
#include "platform/text/AsciiText.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace velmora {

namespace {

struct Column {
    const char* name;
    const char* type;
};

struct Table {
    const char* name;
    std::vector<Column> columns;
};

struct Index {
    const char* table;
    const char* columns; // comma separated
};

constexpr const char* text = "TEXT";
constexpr const char* integer = "INTEGER";
constexpr const char* date = "TEXT"; // "YYYY-MM-DD HH:MM:SS"
// Flags that readers compare with False/0: a NULL would match neither, so none is allowed.
constexpr const char* flag = "INTEGER NOT NULL DEFAULT 0";
constexpr const char* optionalFlag = "INTEGER DEFAULT 0";

const std::vector<Table>& tables() {
    static const std::vector<Table> all = {
        {"noteTb",
         {{"OutlookAttachID", text},
          {"OutlookContactID", text},
          {"contactID", text},
          {"Attached_ID", text},
          {"type", integer},
          {"Regarding", text},
          {"DateCreated", date},
          {"DateEdit", date},
          {"Creator", text},
          {"PrivateAccess", flag},
          {"MakeDelete", flag},
          {"bAttachment", flag}}},
        {"ToEvent",
         {{"OutlookEmailID", text},
          {"OutlookApptID", text},
          {"ContactID", text},
          {"Attached_ID", text},
          {"type", integer},
          {"Regarding", text},
          {"DateCreated", date},
          {"Creator", text},
          {"MakeDelete", flag},
          {"bAttachment", flag}}},
        {"EMailHistory",
         {{"entryid", text},
          {"from_addr", text},
          {"to_addr", text},
          {"cc_addr", text},
          {"bcc_addr", text},
          {"priority", integer},
          {"subject", text},
          {"date_time", text},
          {"body_text", text},
          {"body_html", text},
          {"size", integer},
          {"content_type", text},
          {"att_count", "INTEGER DEFAULT 0"},
          {"isDeleted", flag}}},
        {"NoteHistory",
         {{"outlooknoteid", text},
          {"noteId", text},
          {"regarding", text},
          {"category", text},
          {"PrivateAccess", "INTEGER DEFAULT 1"},
          {"RefCount", "INTEGER DEFAULT 0"}}},
        {"CalendarHistory",
         {{"taskid", text},
          {"velmoraid", text},
          {"eventname", text},
          {"fromdate", date},
          {"untildate", date},
          {"notime", optionalFlag},
          {"description", text},
          {"locationaddress", text},
          {"category", text},
          {"isreminder", optionalFlag},
          {"isrepeat", optionalFlag},
          {"noenddate", optionalFlag},
          {"re_fromdate", date},
          {"re_untildate", date},
          {"recurtype", integer},
          {"recurNum", integer},
          {"recurfrequency", integer},
          {"repeatonweekid", integer},
          {"recurday", integer},
          {"recurweek", integer},
          {"recurmonth", integer},
          {"counter", integer}}},
        {"Attachments",
         {{"EntryID", text},
          {"Msg_ID", integer},
          {"USER_NAME", text},
          {"ATT_NAME", text},
          {"ATT_CONTENT_TYPE", text},
          {"ATT_ALIAS", text},
          {"ALIAS_INDEX", integer}}},
        {"GroupTb",
         {{"GroupID", text},
          {"GroupName", text},
          {"Creator", text},
          {"Modules", "INTEGER DEFAULT 0"}}},
        {"Group_User", {{"GroupID", text}, {"loginname", text}, {"Access", "INTEGER DEFAULT 0"}}},
        {"Group_Task",
         {{"GroupID", text},
          {"tid", text},
          {"OutlookAppID", text},
          {"IsDel", flag},
          {"IsDirty", flag}}},
        {"Group_Todo",
         {{"GroupID", text},
          {"DID", text},
          {"OutlookDID", text},
          {"IsDel", flag},
          {"IsDirty", flag}}},
        {"Group_Contact",
         {{"GroupID", text},
          {"CID", text},
          {"OutlookCID", text},
          {"IsDel", flag},
          {"IsDirty", flag}}},
        {"CalendarExt",
         {{"areid", integer},
          {"entryid", text},
          {"taskid", text},
          {"creator", text},
          {"sharetype", "INTEGER DEFAULT 0"}}},
        {"TodoExt",
         {{"todoid", text},
          {"id", integer},
          {"creator", text},
          {"PrivateAccess", "INTEGER DEFAULT 1"}}},
        {"ContactExt",
         {{"ContactId", text},
          {"corder", integer},
          {"creator", text},
          {"PrivateAccess", "INTEGER DEFAULT 1"}}},
        {"EMailsID", {{"outlookid", text}, {"msgid", text}, {"username", text}}},
        {"CalendarId", {{"entryid", text}, {"taskid", text}}},
        {"ContactsID", {{"outlookid", text}, {"velmoraid", text}}},
        {"TodosID", {{"outlookid", text}, {"velmoraid", text}}},
        {"NotesID", {{"outlookid", text}, {"velmoraid", text}}},
        {"CurrentUser", {{"CurrentUser", text}}},
    };
    return all;
}

// The keys the add-in's statements look rows up by. A link is looked up by its item alone or by
// item and contact (or appointment), so one two-column index serves both.
const std::vector<Index>& indexes() {
    static const std::vector<Index> all = {
        {"noteTb", "OutlookAttachID,OutlookContactID"},
        {"noteTb", "OutlookContactID"},
        {"ToEvent", "OutlookEmailID,OutlookApptID"},
        {"ToEvent", "OutlookApptID"},
        {"EMailHistory", "entryid"},
        {"NoteHistory", "outlooknoteid"},
        {"CalendarHistory", "taskid"},
        {"Attachments", "EntryID"},
        {"Group_Task", "OutlookAppID"},
        {"Group_Task", "tid"},
        {"Group_Todo", "OutlookDID"},
        {"Group_Contact", "OutlookCID"},
        {"Group_User", "GroupID,loginname"},
        {"CalendarExt", "entryid"},
        {"TodoExt", "todoid"},
        {"ContactExt", "ContactId"},
        {"EMailsID", "outlookid"},
        {"CalendarId", "entryid"},
        {"ContactsID", "outlookid"},
        {"TodosID", "outlookid"},
        {"NotesID", "outlookid"},
    };
    return all;
}

std::string indexName(const Index& index) {
    std::string name = std::string("ix_") + index.table + "_" + index.columns;
    std::replace(name.begin(), name.end(), ',', '_');
    return name;
}

// Column names the table has now, lowered (names match without regard to case).
std::vector<std::string> existingColumns(ado::Connection& c, const char* table) {
    ado::Recordset rs;
    rs.Open(std::string("select * from ") + table + " where 1=0", c);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(rs.FieldCount()));
    for (int i = 0; i < rs.FieldCount(); ++i)
        names.push_back(text::lower(rs.Fields(i).Name()));
    return names;
}

} // namespace

void createSchema(ado::Connection& c) {
    // Engines that do not name rows themselves get a key column in every table.
    const ado::Dialect& dialect = c.backend().dialect();
    const std::string identity = dialect.identityColumn();
    ado::inTransaction(c, [&] {
        for (const Table& table : tables()) {
            std::string sql = std::string("create table if not exists ") + table.name + " (";
            for (std::size_t i = 0; i < table.columns.size(); ++i)
                sql += std::string(i ? ", " : "") + table.columns[i].name + " " +
                       table.columns[i].type;
            if (!identity.empty()) sql += ", " + identity;
            c.Execute(sql + ")");
            // A store made by an older build may lack columns added since; add them.
            const std::vector<std::string> have = existingColumns(c, table.name);
            const auto lacks = [&have](std::string_view name) {
                return std::find(have.begin(), have.end(), text::lower(name)) == have.end();
            };
            for (const Column& column : table.columns)
                if (lacks(column.name))
                    c.Execute(std::string("alter table ") + table.name + " add column " +
                              column.name + " " + column.type);
            if (!identity.empty() && lacks(dialect.rowIdentity()))
                c.Execute(std::string("alter table ") + table.name + " add column " + identity);
        }
        for (const Index& index : indexes())
            c.Execute("create index if not exists " + indexName(index) + " on " + index.table +
                      " (" + index.columns + ")");
    });
}

std::vector<std::string> schemaTableNames() {
    std::vector<std::string> names;
    for (const Table& table : tables())
        names.emplace_back(table.name);
    return names;
}

} // namespace velmora

// The link store session and identity services.
// Identity tables are read-only here; the synchronisation program fills them.
#include "store/StoreSession.h"

#include "platform/ado/Recordset.h"
#include "platform/ado/SqliteBackend.h"
#include "platform/text/UnicodeText.h"
#include "store/Schema.h"

#include <filesystem>

namespace velmora {

namespace {

// Statement and column of the id lookup, by kind; nothing for a kind that has no table.
struct IdLookup {
    const char* statement;
    const char* column;
};

const IdLookup* idLookup(std::int16_t kind) {
    static const IdLookup mail{"select msgid from EMailsID where outlookid ='", "msgid"};
    static const IdLookup appointment{"select taskid from CalendarId where entryid = '", "taskid"};
    static const IdLookup contact{"select velmoraid from ContactsID where outlookid = '",
                                  "velmoraid"};
    static const IdLookup task{"Select velmoraid from TodosID where outlookid='", "velmoraid"};
    static const IdLookup note{"select velmoraid from NotesID where outlookid='", "velmoraid"};
    static const IdLookup owner{"select username from EMailsID where outlookid ='", "username"};
    switch (kind) {
    case kindMail:
        return &mail;
    case kindAppointment:
        return &appointment;
    case kindContact:
        return &contact;
    case kindTask:
        return &task;
    case kindNote:
        return &note;
    case kindMailOwner:
        return &owner;
    default:
        return nullptr;
    }
}

} // namespace

std::unique_ptr<ado::Connection> openStore(const StoreContext& state) {
    std::string target = state.platform.storeConnectionString;
    if (target.empty()) {
        const auto file = ado::defaultStorePath();
        // A bare file name (VELMORA_STORE=store.db) lives in the current folder.
        if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
        target = "Database=" + file.string();
    }
    auto connection = std::make_unique<ado::Connection>();
    connection->Open(target);
    connection->setStatementWatch(state.platform.statementWatch);
    // A fresh install has an empty store; the tables are created once and kept.
    createSchema(*connection);
    return connection;
}

void closeStore(StoreContext& state) {
    if (state.storeConnection) {
        if (state.storeConnection->IsOpen()) state.storeConnection->Close();
        state.storeConnection.reset();
    }
}

std::string getCurrentUser(StoreContext& state) {
    try {
        ado::Recordset rs;
        rs.Open("select CurrentUser from CurrentUser", state.connection());
        if (rs.IsEOF()) return "-1";
        std::string user = rs.Fields("CurrentUser").Value().text();
        return user.empty() ? "-1" : user;
    } catch (...) {
        return "-1";
    }
}

std::string getServerID(StoreContext& state, std::int16_t kind, const std::string& entryId) {
    const IdLookup* lookup = idLookup(kind);
    if (!lookup) return "";
    ado::Recordset rs;
    rs.Open(std::string(lookup->statement) + ado::sqlText(entryId) + "'", state.connection());
    if (rs.IsEOF()) return "-1";
    return rs.Fields(lookup->column).Value().text();
}

std::string serverIdCreator(const std::string& serverId) {
    const auto last = serverId.rfind('_');
    return last == std::string::npos ? serverId : serverId.substr(0, last);
}

long countRows(const StoreContext& state, const std::string& sql) {
    ado::Recordset rs;
    rs.Open(sql, state.connection());
    long rows = 0;
    for (; !rs.IsEOF(); rs.MoveNext())
        ++rows;
    return rows;
}

std::string serverIdNumber(const std::string& serverId) {
    const auto last = serverId.rfind('_');
    return last == std::string::npos ? "" : serverId.substr(last + 1);
}

bool isCreator(StoreContext& state, std::int16_t kind, const std::string& entryId) {
    const std::string id = getServerID(state, kind, entryId);
    if (id == "-1") return true;
    return text::equalsIgnoringCase(serverIdCreator(id), state.currentUser);
}

std::int16_t getEventAccess(StoreContext& state, const host::Item& appointment) {
    std::string user;
    {
        ado::Recordset rs;
        rs.Open("select CurrentUser from CurrentUser", state.connection());
        if (rs.IsEOF()) return 3;
        user = rs.Fields("CurrentUser").Value().text();
    }
    const std::string id = getServerID(state, kindAppointment, appointment.EntryID());
    if (id == "-1") return 3;
    if (text::equalsIgnoringCase(serverIdCreator(id), user)) return 3;
    std::int16_t access = 1;
    ado::Recordset rs;
    rs.Open(std::string("select max(access) from group_user where groupID in (") +
                " select GroupID from Group_task where tid = '" + ado::sqlText(serverIdNumber(id)) +
                "' and isDel=0" + ")" + " And loginname='" + ado::sqlText(user) + "'",
            state.connection(), ado::adOpenKeyset, ado::adLockOptimistic);
    if (!rs.IsEOF()) {
        const ado::Value& level = rs.Fields(0).Value();
        if (!level.isNull()) access = static_cast<std::int16_t>(level.toInt());
    }
    return access;
}

std::string say(const StoreContext& state, const text::Bilingual& words) {
    return words.in(state.isChinese);
}

void showMessage(const StoreContext& state, const std::string& text) {
    if (state.platform.messageBox)
        state.platform.messageBox->show(text, state.messageTitle, windows::vbOKOnly);
}

void showExclamation(const StoreContext& state, const std::string& text) {
    if (state.platform.messageBox)
        state.platform.messageBox->show(text, state.messageTitle,
                                        windows::vbOKOnly | windows::vbExclamation);
}

void showInformation(const StoreContext& state, const std::string& text) {
    if (state.platform.messageBox)
        state.platform.messageBox->show(text, state.messageTitle,
                                        windows::vbOKOnly | windows::vbInformation);
}

bool askYesNo(const StoreContext& state, const std::string& text, int icon) {
    if (!state.platform.messageBox) return false;
    return state.platform.messageBox->show(text, state.messageTitle, windows::vbYesNo | icon) ==
           windows::vbYes;
}

} // namespace velmora

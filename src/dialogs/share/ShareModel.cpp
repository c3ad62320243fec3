// The group-sharing rules: the statements that fill the group lists, withdraw, reactivate and
// insert share rows, and keep each item's extension row in step.
#include "dialogs/share/ShareModel.h"

#include "dialogs/common/DualListPicker.h"
#include "dialogs/common/RowIcons.h"
#include "platform/ado/Recordset.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <limits>

namespace velmora {

namespace {

using ado::sqlText;

// Where one kind keeps its shares.
struct ShareTables {
    const char* table;         // Group_Task, Group_Todo, Group_Contact
    const char* entryColumn;   // OutlookAppID, OutlookDID, OutlookCID
    const char* serverColumn;  // tid, DID, CID
    const char* deletedColumn; // the spelling its statements use
    const char* existenceList; // the columns of the existence test
    std::int16_t serverIdKind; // getServerID kind
    int modulesBit;            // GroupTb.Modules bit of the groups offered
};

ShareTables tablesOf(ShareKind kind) {
    switch (kind) {
    case ShareKind::appointment:
    case ShareKind::appointmentFromMail:
        return {"Group_Task", "OutlookAppID", "tid", "IsDel", "IsDel", kindAppointment, 2};
    case ShareKind::task:
        return {"Group_Todo", "OutlookDID", "DID", "isDel", "IsDel", kindTask, 2};
    case ShareKind::contact:
        return {"Group_Contact", "OutlookCID", "CID", "isDel", "IsDel,IsDirty", kindContact, 1};
    }
    throw std::logic_error("unknown share kind");
}

// The number after the last "_" of a server id as a 16-bit integer, and the creator before it.
struct ServerIdParts {
    std::int16_t number;
    std::string creator;
};

ServerIdParts splitServerId(const std::string& serverId) {
    const auto p = serverId.rfind('_');
    if (p == std::string::npos)
        throw std::runtime_error("Type mismatch: the server id \"" + serverId +
                                 "\" has no \"_\" before its number");
    const std::string digits = serverId.substr(p + 1);
    long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error == std::errc::invalid_argument ||
        end != digits.data() + digits.size())
        throw std::runtime_error("Type mismatch: \"" + digits + "\" of the server id \"" +
                                 serverId + "\" is not a number");
    if (error == std::errc::result_out_of_range ||
        value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        throw std::runtime_error("Overflow: " + digits + " of the server id \"" + serverId +
                                 "\" is out of range");
    return {static_cast<std::int16_t>(value), serverId.substr(0, p)};
}

// Opens an extension table on the row of its key, adding the row with its first columns when
// there is none.
void openExtensionRow(DialogContext& state, ado::Recordset& rs, const std::string& query,
                      std::initializer_list<std::pair<const char*, ado::Value>> newRow) {
    rs.Open(query, state.connection(), ado::adOpenKeyset, ado::adLockPessimistic);
    if (!rs.IsEOF()) return;
    rs.AddNew();
    for (const auto& [column, value] : newRow)
        rs.Fields(column) = value;
}

void writeExtensionRow(DialogContext& state, ShareKind kind, const std::string& entryId,
                       const std::string& serverId, bool shared) {
    const ServerIdParts parts = splitServerId(serverId);
    ado::Recordset rs;
    if (kind == ShareKind::appointment || kind == ShareKind::appointmentFromMail) {
        openExtensionRow(state, rs,
                         "SELECT areid,entryid,taskid,creator,sharetype FROM CalendarExt where "
                         "entryid='" +
                             sqlText(entryId) + "'",
                         {{"areid", parts.number},
                          {"entryid", entryId},
                          {"taskid", serverId},
                          {"creator", parts.creator}});
        rs.Fields("sharetype") = shared ? 1 : 0;
    } else if (kind == ShareKind::task) {
        openExtensionRow(state, rs,
                         "SELECT todoid,id,creator,PrivateAccess FROM TodoExt where todoid='" +
                             sqlText(serverId) + "'",
                         {{"todoid", serverId}, {"id", parts.number}, {"creator", parts.creator}});
        rs.Fields("PrivateAccess") = shared ? 0 : 1;
    } else {
        openExtensionRow(
            state, rs,
            "SELECT ContactId,corder,creator,PrivateAccess FROM ContactExt where ContactId='" +
                sqlText(serverId) + "'",
            {{"ContactId", serverId}, {"corder", parts.number}, {"creator", parts.creator}});
        // Contacts keep the flag as text.
        rs.Fields("PrivateAccess") = std::string(shared ? "0" : "1");
    }
    rs.Update();
}

// Shares the item (its quoted entry and server ids) with a group (quoted): a new row, or the
// withdrawn one made active again.
void shareWithGroup(ado::Connection& db, const ShareTables& t, const std::string& g,
                    const std::string& server, const std::string& entry) {
    bool exists = false;
    {
        ado::Recordset rs;
        rs.Open(std::string("select ") + t.existenceList + " from " + t.table + " where GroupID='" +
                    g + "' and " + t.entryColumn + " ='" + entry + "'",
                db);
        exists = !rs.IsEOF();
    }
    if (!exists)
        db.Execute(std::string("insert into ") + t.table + "(GroupID," + t.serverColumn + "," +
                   t.entryColumn + ",IsDirty) values ('" + g + "','" + server + "','" + entry +
                   "','1')");
    else
        db.Execute(std::string("update ") + t.table + " set IsDel=0,IsDirty=1," + t.serverColumn +
                   "='" + server + "' where " + t.entryColumn + "='" + entry + "' and GroupID='" +
                   g + "'");
}

} // namespace

std::span<const ControlDesign> groupListsDesign() {
    using enum ControlKind;
    static constexpr ControlDesign design[] = {
        {Label, "Label2", -1, {.english = "Available Groups:", .chinese = "可分享的组:"}},
        {Label,
         "Label3",
         -1,
         {.english = "Share Information With These groups:", .chinese = "分享的组:"}},
        {List, "ListViewLeft"},
        {List, "ListViewRight"},
        {Button, "OK", -1, {.english = "OK", .chinese = "确定"}},
    };
    return design;
}

void fillGroupLists(DialogContext& state, ShareKind kind, const std::string& entryId,
                    controls::ListView& left, controls::ListView& right) {
    const ShareTables t = tablesOf(kind);
    {
        ado::Recordset rs;
        rs.Open("select GroupID,Creator,GroupName,Modules from GroupTb where GroupID in (select "
                "GroupID from Group_User where loginname='" +
                    sqlText(state.currentUser) + "' And Access > 2)",
                state.connection());
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const int modules = static_cast<int>(rs.Fields("Modules").Value().toInt());
            if ((modules & t.modulesBit) != t.modulesBit) continue;
            AddShareListRow(left, groupIcon, rs.Fields("GroupID").Value().text(),
                            rs.Fields("Creator").Value().text(),
                            rs.Fields("GroupName").Value().text());
        }
    }
    std::string shares;
    if (kind == ShareKind::appointment)
        shares = "select GroupID from Group_Task where OutlookAppID='" + sqlText(entryId) +
                 "' and IsDel=0";
    else if (kind == ShareKind::appointmentFromMail)
        shares = "select GroupID from Group_Task where OutlookAppID='" + sqlText(entryId) +
                 "' and IsDirty=1";
    else
        shares = std::string("select GroupID from ") + t.table + " where " + t.entryColumn + "='" +
                 sqlText(entryId) + "' and isDel=0";
    ado::Recordset rs;
    rs.Open(shares, state.connection());
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const std::string groupId = rs.Fields("GroupID").Value().text();
        ado::Recordset group;
        if (kind == ShareKind::appointmentFromMail)
            group.Open("SELECT Creator,GroupName,GroupID FROM GroupTb where GroupID='" +
                           sqlText(groupId) + "'",
                       state.connection());
        else
            group.Open("SELECT Creator,GroupName FROM GroupTb where GroupID='" + sqlText(groupId) +
                           "'",
                       state.connection());
        // A share whose group is gone is not shown.
        if (group.IsEOF()) continue;
        const std::string key = kind == ShareKind::appointmentFromMail
                                    ? group.Fields("GroupID").Value().text()
                                    : groupId;
        AddShareListRow(right, groupIcon, key, group.Fields("Creator").Value().text(),
                        group.Fields("GroupName").Value().text());
    }
}

void applyGroupShares(DialogContext& state, ShareKind kind, const std::string& entryId,
                      const controls::ListView& right, const std::string& mailEntryId) {
    const ShareTables t = tablesOf(kind);
    ado::Connection& db = state.connection();
    const int groups = right.ListItems().Count();
    const std::string entry = sqlText(entryId);
    // All or nothing: a failure half-way must not leave the item's shares withdrawn.
    wholeOperation(state, [&] {
        if (kind == ShareKind::appointmentFromMail)
            db.Execute(std::string("update NoteTb set PrivateAccess=") + (groups > 0 ? "0" : "1") +
                       " where OutlookAttachID='" + sqlText(mailEntryId) + "'");
        db.Execute(std::string("update ") + t.table + " set IsDel=1,IsDirty=0 where " +
                   t.entryColumn + "='" + entry + "'");
        const std::string serverId = getServerID(state, t.serverIdKind, entryId);
        if (serverId != "-1") writeExtensionRow(state, kind, entryId, serverId, groups > 0);
        const std::string server = sqlText(serverId);
        for (int i = 1; i <= groups; ++i)
            shareWithGroup(db, t, sqlText(right.ListItems().Item(i).Key()), server, entry);
    });
}

void touchSharedItem(DialogContext& state, int kind, const std::string& entryId) {
    // Each kind's folder and the property written back unchanged.
    struct Touch {
        int kind;
        int folder;
        const char* property;
    };
    static constexpr Touch touches[] = {{1, host::olFolderCalendar, "Subject"},
                                        {2, host::olFolderContacts, "FileAs"},
                                        {3, host::olFolderTasks, "Subject"},
                                        {5, host::olFolderNotes, "Body"}};
    const auto* touch = std::find_if(std::begin(touches), std::end(touches),
                                     [kind](const Touch& t) { return t.kind == kind; });
    if (touch == std::end(touches)) return;
    const int folder = touch->folder;
    const char* property = touch->property;
    ignoreErrors([&] {
        auto& ns = state.application().GetNamespace("MAPI");
        auto item = ns.GetItemFromID(entryId, ns.GetDefaultFolder(folder)->StoreID());
        if (!item) return;
        state.skipNextItemEvent = true;
        item->Set(property, item->Get(property));
        item->Save();
    });
}

} // namespace velmora

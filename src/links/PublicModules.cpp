// The shared helpers of the link engines and dialogs: creators, quote stripping and value
// conversion. They hold no state; the store and host are reached through the StoreContext handed
// in.
#include "links/PublicModules.h"

#include "platform/ado/Recordset.h"
#include "platform/text/QuotedText.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora {

std::string stripQuotes(std::string text) {
    auto stripFront = [&](char quote) {
        if (!text.empty() && text.front() == quote) text.erase(0, 1);
    };
    auto stripBack = [&](char quote) {
        if (!text.empty() && text.back() == quote) text.pop_back();
    };
    stripFront('\'');
    stripBack('\'');
    stripFront('"');
    stripBack('"');
    return text;
}

std::string creatorOfServerID(const StoreContext& state, const std::string& serverId) {
    if (serverId == "-1") return state.currentUser;
    return serverIdCreator(serverId);
}

std::string getItemCreator(StoreContext& state, std::int16_t kind, const std::string& entryId) {
    std::string serverId = getServerID(state, kind, entryId);
    if (serverId == "-1") return state.currentUser;
    if (kind == kindMailOwner) return serverId;
    return serverIdCreator(serverId);
}

ado::Value storeValue(const host::Variant& value) {
    struct Visitor {
        ado::Value operator()(std::monostate) const { return {}; }
        ado::Value operator()(bool b) const { return b; }
        ado::Value operator()(long n) const { return n; }
        ado::Value operator()(double d) const { return d; }
        ado::Value operator()(const std::string& s) const { return s; }
        ado::Value operator()(host::DateTime t) const { return t; }
    };
    return std::visit(Visitor{}, value);
}

void openRowOrAdd(const StoreContext& state, ado::Recordset& rs, const std::string& select) {
    rs.Open(select, state.connection(), ado::adOpenKeyset, ado::adLockPessimistic);
    if (rs.IsEOF()) rs.AddNew();
}

void openHistoryRow(const StoreContext& state, ado::Recordset& rs, const std::string& table,
                    const std::string& keyColumn, const std::string& key) {
    openRowOrAdd(state, rs,
                 "select * from " + table + " where " + keyColumn + "=" + text::sqlLiteral(key));
    rs.Fields(keyColumn) = key;
}

bool writeContactLinkRow(StoreContext& state, const ContactLinkSpelling& spelling,
                         const host::Item& item, const std::string& contactEntryId,
                         const std::string& itemServerId, const std::string& loginName,
                         bool isShared) {
    return trappedWrite(state, spelling.tag, [&] {
        const std::string key = item.EntryID();
        ado::Recordset rs;
        openRowOrAdd(state, rs,
                     spelling.selectByKey + text::sqlLiteral(key) + spelling.andContact +
                         text::sqlLiteral(contactEntryId));
        rs.Fields("type") = spelling.type;
        const std::string regarding = item.Text(spelling.regardingProperty);
        if (!regarding.empty()) rs.Fields("Regarding") = regarding;
        rs.Fields("DateCreated") = storeValue(item.Get("CreationTime"));
        rs.Fields("DateEdit") = storeValue(item.Get("LastModificationTime"));
        rs.Fields("contactID") = getServerID(state, kindContact, contactEntryId);
        rs.Fields("MakeDelete") = false;
        rs.Fields("Creator") = itemServerId == "-1" ? loginName : serverIdCreator(itemServerId);
        rs.Fields("PrivateAccess") = !isShared;
        rs.Fields("bAttachment") = 0;
        rs.Fields("Attached_ID") = itemServerId;
        rs.Fields("OutlookContactID") = contactEntryId;
        rs.Fields("OutlookAttachID") = key;
        rs.Update();
    });
}

} // namespace velmora

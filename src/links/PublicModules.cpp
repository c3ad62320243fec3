// The shared helpers of the link engines and dialogs: creators, quoting and value conversion.
// They hold no state; the store and host are reached through the StoreContext handed in.
#include "links/PublicModules.h"

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

std::string quoteFilterValue(const std::string& value) {
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string creatorOfServerID(const StoreContext& state, const std::string& serverId) {
    if (serverId == "-1") return state.currentUser;
    return serverIdCreator(serverId);
}

std::string getItemCreator(StoreContext& state, std::int16_t kind, const std::string& entryId) {
    const std::string serverId = getServerID(state, kind, entryId);
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

} // namespace velmora

// The store and registry verbs of the scripted host: store, user, sql, exec and registry.
// Statements go through the add-in's own connection, as the companion program's would.
#include "StoreCommands.h"

#include "platform/ado/Recordset.h"
#include "store/readRegister.h"
#include "store/Schema.h"
#include "store/StoreSession.h"

#include <charconv>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace velmora::app {

std::pair<std::string, std::string> StoreCommands::registryName(const std::string& word) {
    if (word.rfind("setting/", 0) == 0) return {readRegister::settingKey, word.substr(8)};
    return {readRegister::mainKey, word};
}

std::string StoreCommands::registryText(const registry::RegValue& value) {
    if (const auto text = registry::asText(value)) return text->substr(0, text->find('\0'));
    if (value.type == registry::REG_DWORD && value.data.size() >= 4) {
        // Bytes past the fourth are not the number's.
        const registry::RegValue number{registry::REG_DWORD,
                                        {value.data.begin(), value.data.begin() + 4}};
        return std::to_string(*registry::asDword(number));
    }
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t byte : value.data)
        hex += std::string{digits[byte >> 4], digits[byte & 0xF]};
    return hex;
}

ado::Connection& StoreCommands::connection() {
    if (!ctx_.state.storeConnection) {
        ScriptContext::OwnCalls own(ctx_);
        ctx_.state.storeConnection = openStore(ctx_.state);
    }
    return ctx_.state.connection();
}

void StoreCommands::printQuery(const std::string& sql) {
    ScriptContext::OwnCalls own(ctx_);
    ado::Recordset rs;
    rs.Open(sql, connection());
    for (int c = 0; c < rs.FieldCount(); ++c)
        ctx_.out << (c ? "\t" : "  ") << rs.Fields(c).Name();
    ctx_.out << "\n";
    for (; !rs.IsEOF(); rs.MoveNext()) {
        for (int c = 0; c < rs.FieldCount(); ++c)
            ctx_.out << (c ? "\t" : "  ") << rs.Fields(c).Value().text();
        ctx_.out << "\n";
    }
}

void StoreCommands::lockStore(double seconds) {
    auto holder = std::make_unique<ado::Connection>();
    holder->Open(connection().ConnectionString());
    holder->BeginTrans(); // takes the write lock at once on SQLite
    if (const std::string lock = holder->backend().dialect().lockTables(schemaTableNames());
        !lock.empty())
        holder->Execute(lock);
    locks_.emplace_back([holder = std::move(holder), seconds](std::stop_token stop) {
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        wake.wait_for(lock, std::move(stop), std::chrono::duration<double>(seconds),
                      [] { return false; });
        holder->RollbackTrans();
    });
}

void StoreCommands::setCrashPoint(const Words& w) {
    const std::string usage = "usage: crash at-statement N | crash at-file N | crash off";
    if (w[1] == "off") {
        ctx_.crashAt = ScriptContext::CrashPoint::None;
        return;
    }
    if ((w[1] != "at-statement" && w[1] != "at-file") || w.size() < 3) throw UsageError(usage);
    long n = 0;
    const auto [end, error] = std::from_chars(w[2].data(), w[2].data() + w[2].size(), n);
    if (error != std::errc() || end != w[2].data() + w[2].size() || n < 1)
        throw UsageError("crash " + w[1] + " takes a count of 1 or more, not \"" + w[2] + "\"");
    ctx_.crashAt = w[1] == "at-statement" ? ScriptContext::CrashPoint::Statement
                                          : ScriptContext::CrashPoint::FileStep;
    ctx_.crashCountdown = n;
}

void StoreCommands::install(CommandTable& table) {
    table.add("lock", "lock store SECONDS", 3, [this](const Words& w) {
        if (w[1] != "store") throw UsageError("usage: lock store SECONDS");
        lockStore(std::stod(w[2]));
    });
    table.add("store", "store init", 2, [this](const Words&) {
        ctx_.out << "link store open: " << connection().ConnectionString() << "\n";
    });
    table.add("user", "user NAME", 2, [this](const Words& w) {
        ScriptContext::OwnCalls own(ctx_);
        connection().Execute("delete from CurrentUser");
        connection().Execute("insert into CurrentUser (CurrentUser) values ('" +
                             ado::sqlText(w[1]) + "')");
        ctx_.state.currentUser = getCurrentUser(ctx_.state);
        ctx_.out << "current user: " << ctx_.state.currentUser << "\n";
    });
    table.add("sql", "sql STATEMENT", 2, [this](const Words& w) { printQuery(w.rest(1)); });
    table.add("exec", "exec STATEMENT", 2, [this](const Words& w) {
        ScriptContext::OwnCalls own(ctx_);
        connection().Execute(w.rest(1));
    });
    table.add("crash", "crash at-statement N | crash at-file N | crash off", 2,
              [this](const Words& w) { setCrashPoint(w); });
    table.add("trace", "trace on|off", 2, [this](const Words& w) {
        if (w[1] != "on" && w[1] != "off") throw UsageError("usage: trace on|off");
        ctx_.trace = w[1] == "on";
    });
    table.add(
        "registry", "registry set|dword|clear [setting/]NAME [VALUE]", 3, [this](const Words& w) {
            // A failed write raises the registry's reason, which fails the script.
            const auto [key, name] = registryName(w[2]);
            ctx_.registry.createKey(key);
            if (w[1] == "clear") {
                if (ctx_.registry.QueryValue(key, name)) ctx_.registry.deleteValue(key, name);
                return;
            }
            if (w.size() < 4) throw UsageError("usage: registry set NAME TEXT");
            const registry::RegValue value =
                w[1] == "dword" ? registry::dwordValue(static_cast<std::uint32_t>(std::stoul(w[3])))
                                : registry::textValue(joinFrom(w, 3));
            ctx_.registry.setValue(key, name, value);
        });
}

} // namespace velmora::app

// The store and registry verbs of the scripted host: store, user, sql, exec and registry.
// Statements go through the add-in's own connection, as the companion program's would.
#include "StoreCommands.h"

#include "platform/ado/Recordset.h"
#include "store/readRegister.h"
#include "store/StoreSession.h"

namespace velmora::app {

namespace {

// "setting/NAME" names a value of the settings subkey, any other NAME one of the main key.
std::pair<std::string, std::string> keyAndName(const std::string& word) {
    if (word.rfind("setting/", 0) == 0) return {readRegister::settingKey, word.substr(8)};
    return {readRegister::mainKey, word};
}

} // namespace

ado::Connection& StoreCommands::connection() {
    if (!ctx_.state.storeConnection) ctx_.state.storeConnection = openStore(ctx_.state);
    return ctx_.state.connection();
}

void StoreCommands::printQuery(const std::string& sql) {
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

void StoreCommands::install(CommandTable& table) {
    table.add("store", "store init", 2, [this](const Words&) {
        ctx_.out << "link store open: " << connection().ConnectionString() << "\n";
    });
    table.add("user", "user NAME", 2, [this](const Words& w) {
        connection().Execute("delete from CurrentUser");
        connection().Execute("insert into CurrentUser (CurrentUser) values ('" +
                             ado::sqlText(w[1]) + "')");
        ctx_.state.currentUser = getCurrentUser(ctx_.state);
        ctx_.out << "current user: " << ctx_.state.currentUser << "\n";
    });
    table.add("sql", "sql STATEMENT", 2, [this](const Words& w) { printQuery(w.rest(1)); });
    table.add("exec", "exec STATEMENT", 2,
              [this](const Words& w) { connection().Execute(w.rest(1)); });
    table.add("registry", "registry set|dword|clear [setting/]NAME [VALUE]", 3,
              [this](const Words& w) {
                  const auto [key, name] = keyAndName(w[2]);
                  ctx_.registry.CreateKey(key);
                  if (w[1] == "clear") {
                      ctx_.registry.DeleteValue(key, name);
                      return;
                  }
                  if (w.size() < 4) throw std::runtime_error("usage: registry set NAME TEXT");
                  registry::RegValue value;
                  if (w[1] == "dword") {
                      const auto number = static_cast<std::uint32_t>(std::stoul(w[3]));
                      value.type = registry::REG_DWORD;
                      for (int i = 0; i < 4; ++i)
                          value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
                  } else {
                      const std::string text = joinFrom(w, 3);
                      value.type = registry::REG_SZ;
                      value.data.assign(text.begin(), text.end());
                      value.data.push_back(0);
                  }
                  ctx_.registry.SetValue(key, name, value);
              });
}

} // namespace velmora::app

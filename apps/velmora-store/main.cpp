// velmora-store: creates the link store, runs one statement, lists the tables and one item's
// links, and sets the current user, as an installer or tester would. Only init creates a store.
#include "LinkReport.h"
#include "RowWriter.h"
#include "ToolCommandLine.h"

#include "platform/ado/Recordset.h"
#include "platform/ado/SqliteBackend.h"
#include "platform/ado/StatementText.h"
#include "platform/log/Log.h"
#include "platform/text/AsciiText.h"
#include "store/Schema.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace velmora;

struct Options {
    std::string file;
    std::string dsn;
    std::string format;
    std::string argument; // the statement, login name or entry ID
};

// Where the store is, as a connection string: --db, --dsn, $VELMORA_STORE_CONNECTION, else the
// embedded file ($VELMORA_STORE or the XDG default).
struct StoreTarget {
    std::string connection;
    std::filesystem::path defaultFile; // set when nothing named the store
};

StoreTarget storeTarget(const Options& options) {
    if (!options.file.empty()) return {"Database=" + options.file, {}};
    if (!options.dsn.empty())
        // A bare data source name is accepted too.
        return {options.dsn.find('=') == std::string::npos ? "DSN=" + options.dsn : options.dsn,
                {}};
    if (const char* named = std::getenv("VELMORA_STORE_CONNECTION"); named && *named)
        return {named, {}};
    const std::filesystem::path file = ado::defaultStorePath();
    return {"Database=" + file.string(), file};
}

// Opens an existing store: read-only, or for changes. A missing store is never created here.
void openExisting(ado::Connection& store, const StoreTarget& target, bool forChanges) {
    try {
        store.Open(target.connection + ";Mode=Read");
    } catch (const ado::NoStoreError& e) {
        throw std::runtime_error(std::string(e.what()) + "; create one with `velmora-store init`");
    }
    if (!forChanges) return;
    store.Close();
    store.Open(target.connection);
}

void writeRows(ado::Recordset& rs, app::RowWriter& writer) {
    std::vector<ado::Value> values(static_cast<std::size_t>(rs.FieldCount()));
    for (; !rs.IsEOF(); rs.MoveNext()) {
        for (int i = 0; i < rs.FieldCount(); ++i)
            values[static_cast<std::size_t>(i)] = rs.Fields(i).Value();
        writer.row(values);
    }
    writer.finish();
}

std::vector<std::string> columnNames(ado::Recordset& rs) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(rs.FieldCount()));
    for (int i = 0; i < rs.FieldCount(); ++i)
        names.push_back(rs.Fields(i).Name());
    return names;
}

void init(const StoreTarget& target) {
    if (!target.defaultFile.empty() && target.defaultFile.has_parent_path())
        std::filesystem::create_directories(target.defaultFile.parent_path());
    ado::Connection store;
    store.Open(target.connection);
    createSchema(store);
    store.Close();
    std::cout << "link store ready: " << schemaTableNames().size() << " tables\n";
}

// A statement that yields columns prints its rows, whatever its first word; any other prints
// the rows it changed. The store is opened for changes only when the statement writes.
void runStatement(const StoreTarget& target, const std::string& sql, app::RowFormat format) {
    if (text::trim(sql).empty()) throw app::UsageError("sql needs a statement, e.g. \"select 1\"");
    ado::Connection store;
    openExisting(store, target, false);
    if (!store.ReadsOnly(sql)) {
        store.Close();
        openExisting(store, target, true);
    }
    ado::Recordset rs;
    rs.Open(sql, store);
    if (rs.FieldCount() == 0) {
        const std::int64_t affected = rs.RecordsAffected();
        std::cout << affected << (affected == 1 ? " row" : " rows") << " affected\n";
        return;
    }
    app::RowWriter writer(std::cout, format, columnNames(rs));
    writeRows(rs, writer);
}

// The link store's own tables, on any engine: a table the store lacks shows NULL rows.
void listTables(const StoreTarget& target, app::RowFormat format) {
    ado::Connection store;
    openExisting(store, target, false);
    app::RowWriter writer(std::cout, format, {"table", "rows"});
    std::vector<std::string> missing;
    for (const std::string& name : schemaTableNames()) {
        ado::Value rows;
        try {
            ado::Recordset rs;
            // The schema's names are plain words, spelled as every engine takes them unquoted.
            rs.Open("select count(*) from " + name, store);
            rows = rs.Fields(0).Value();
        } catch (const ado::StoreError& e) {
            if (std::string(e.what()).find("no such table") == std::string::npos) throw;
            missing.push_back(name);
        }
        writer.row({ado::Value(name), rows});
    }
    writer.finish();
    if (!missing.empty())
        log::warn("tables", std::to_string(missing.size()) +
                                " of the link store's tables are missing; `velmora-store init` "
                                "adds them");
}

void setUser(const StoreTarget& target, const std::string& name) {
    if (name.empty()) throw app::UsageError("set-user needs a login name");
    ado::Connection store;
    openExisting(store, target, true);
    ado::inTransaction(store, [&] {
        store.Execute("delete from CurrentUser");
        // Bound, not spliced: a login name may hold a quote.
        ado::Recordset rs;
        rs.Open("select CurrentUser from CurrentUser", store, ado::adOpenKeyset,
                ado::adLockPessimistic);
        rs.AddNew();
        rs.Fields("CurrentUser") = name;
        rs.Update();
    });
    store.Close();
    std::cout << "current user: " << name << '\n';
}

// No links is an answer, not a failure: scripts asking about many items go on.
void showLinks(const StoreTarget& target, const std::string& entryId) {
    if (entryId.empty()) throw app::UsageError("links needs an entry ID");
    ado::Connection store;
    openExisting(store, target, false);
    if (app::printLinks(store, entryId, std::cout) == 0)
        std::cout << "no links for " << entryId << '\n';
}

// The top line names the command as the one thing every call needs; the stray-word catcher
// below is no argument of its own.
class UsageFormatter : public CLI::Formatter {
  public:
    std::string make_usage(const CLI::App* app, std::string name) const override {
        if (app->get_parent()) return CLI::Formatter::make_usage(app, std::move(name));
        return "Usage: " + name + " [OPTIONS] COMMAND\n";
    }
};

// The options and commands, declared on the shared command line; the commands' own
// arguments land in options.argument, a word that is no command in stray.
struct Commands {
    CLI::Option* db = nullptr;
    CLI::Option* dsn = nullptr;
    CLI::App* init = nullptr;
    CLI::App* sql = nullptr;
    CLI::App* tables = nullptr;
    CLI::App* setUser = nullptr;
    CLI::App* links = nullptr;
    std::string stray;
};

void declare(CLI::App& app, Options& options, Commands& commands) {
    commands.db =
        app.add_option("--db", options.file, "the link store file (SQLite)")->type_name("FILE");
    commands.dsn = app.add_option("--dsn", options.dsn,
                                  "an ODBC connection string or data source name (VelmoraOutlook)")
                       ->type_name("CONNSTR");
    commands.db->excludes(commands.dsn);
    app.add_option("--format", options.format,
                   "rows of sql and tables as table, tsv, csv or json\n"
                   "(default: table on a terminal, else tsv)")
        ->type_name("FORMAT")
        ->check(CLI::IsMember({"table", "tsv", "csv", "json"}));
    // A word that is no command lands here, so that the message can name it and the commands.
    app.add_option("stray", commands.stray)->group("");
    app.formatter(std::make_shared<UsageFormatter>());
    app.get_formatter()->column_width(30);
    app.get_formatter()->label("Subcommands", "Commands");

    commands.init = app.add_subcommand(
        "init", "create the link store, or add the tables, columns and indexes it lacks");
    commands.sql =
        app.add_subcommand("sql", "run one statement: print its rows, or how many rows it changed");
    commands.sql->add_option("STATEMENT", options.argument, "one SQL statement")->required();
    commands.tables =
        app.add_subcommand("tables", "list the link store's tables with their row counts");
    commands.setUser =
        app.add_subcommand("set-user", "make NAME the current user (the one row of CurrentUser)");
    commands.setUser->add_option("NAME", options.argument, "the login name")->required();
    commands.links =
        app.add_subcommand("links", "show the contact and event links of one item in words\n"
                                    "(\"no links for ENTRYID\" and exit 0 when it has none)");
    commands.links->add_option("ENTRYID", options.argument, "the item's entry ID")->required();
}

// What CLI11 cannot check: exactly one command, and a store name a connection string can hold.
void checkUsage(const CLI::App& app, const Options& options, const Commands& commands) {
    const std::string expected = "init, sql STATEMENT, tables, set-user NAME or links ENTRYID";
    const auto given = app.get_subcommands();
    if (!commands.stray.empty() && !given.empty())
        throw app::UsageError(given.front()->get_name() + ": unexpected argument '" +
                              commands.stray + "'");
    if (!commands.stray.empty())
        throw app::UsageError("unknown command '" + commands.stray + "': expected " + expected);
    if (given.empty()) throw app::UsageError("no command given: expected " + expected);
    if (commands.db->count() > 0 && options.file.empty())
        throw app::UsageError("--db needs a file name");
    if (options.file.find(';') != std::string::npos)
        throw app::UsageError("--db: a file name holding ';' cannot name the store in a "
                              "connection string; rename the file");
    if (commands.dsn->count() > 0 && options.dsn.empty())
        throw app::UsageError("--dsn needs a connection string or data source name");
}

} // namespace

int main(int argc, char** argv) {
    app::ToolCommandLine cli(
        "velmora-store",
        "Creates the Velmora link store, runs a statement on it, lists its tables and one item's\n"
        "links, and sets the current user. Only init creates a store; the other commands need "
        "one.\n"
        "sql with a statement that only reads, tables and links open the store read-only.\n"
        "Exit status: 0 done, 1 failed, 2 wrong arguments.",
        {{"VELMORA_STORE_CONNECTION",
          "the store's connection string when neither --db nor --dsn is given, e.g. "
          "\"DSN=VelmoraOutlook;UID=sa;PWD=\" or \"Database=/path/linkstore.db\""},
         {"VELMORA_STORE", "the store file when no connection string is given (default "
                           "$XDG_DATA_HOME/velmora/linkstore.db)"}});
    Options options;
    Commands commands;
    declare(cli.app(), options, commands);
    return cli.run(argc, argv, [&] {
        checkUsage(cli.app(), options, commands);
        const auto format = options.format.empty() ? (isatty(STDOUT_FILENO) ? app::RowFormat::table
                                                                            : app::RowFormat::tsv)
                                                   : app::rowFormatNamed(options.format).value();
        const StoreTarget target = storeTarget(options);
        if (commands.init->parsed())
            init(target);
        else if (commands.sql->parsed())
            runStatement(target, options.argument, format);
        else if (commands.tables->parsed())
            listTables(target, format);
        else if (commands.setUser->parsed())
            setUser(target, options.argument);
        else if (commands.links->parsed())
            showLinks(target, options.argument);
        return app::exitSuccess;
    });
}

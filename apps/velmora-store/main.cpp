// velmora-store: creates the link store's schema, runs one statement and prints its rows, lists
// the tables with their row counts, and sets the current user, as an installer or tester would.
#include "platform/ado/Recordset.h"
#include "platform/ado/SqliteBackend.h"
#include "platform/ado/StatementText.h"
#include "platform/text/AsciiText.h"
#include "platform/text/QuotedText.h"
#include "store/Schema.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace velmora;

const char* const usage =
    "usage: velmora-store [--db FILE | --dsn CONNSTR] init | sql \"STATEMENT\" | tables | "
    "set-user NAME\n"
    "  --db FILE      the embedded store file (default: $VELMORA_STORE, else\n"
    "                 ~/.local/share/velmora/linkstore.db)\n"
    "  --dsn CONNSTR  an ODBC data source, e.g. \"DSN=VelmoraOutlook;UID=sa;PWD=\"\n"
    "  init           create the missing tables, columns and indexes\n"
    "  sql STATEMENT  run one statement; rows are printed tab-separated under a header\n"
    "  tables         list the tables with their row counts\n"
    "  set-user NAME  make NAME the one row of CurrentUser\n";

struct Options {
    std::string target; // a connection string
    std::string command;
    std::vector<std::string> arguments;
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options.command.empty() && (arg == "--db" || arg == "--dsn")) {
            if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
            if (!options.target.empty())
                throw std::runtime_error("name one store: --db or --dsn, once");
            const std::string value = argv[++i];
            if (value.empty()) throw std::runtime_error(arg + " needs a value");
            if (arg == "--db")
                options.target = "Database=" + value;
            else // a bare data source name is accepted too
                options.target = value.find('=') == std::string::npos ? "DSN=" + value : value;
        } else if (options.command.empty()) {
            options.command = arg;
        } else {
            options.arguments.push_back(arg);
        }
    }
    return options;
}

std::string defaultTarget() {
    const std::filesystem::path file = ado::defaultStorePath();
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    return "Database=" + file.string();
}

bool returnsRows(const std::string& sql) {
    std::string word;
    for (char c : sql) {
        if (std::isalpha(static_cast<unsigned char>(c)))
            word += text::lowerChar(c);
        else if (!word.empty() || !std::isspace(static_cast<unsigned char>(c)))
            break;
    }
    return word == "select" || word == "pragma" || word == "with" || word == "values" ||
           word == "explain";
}

void printRows(ado::Recordset& rs) {
    for (int i = 0; i < rs.FieldCount(); ++i)
        std::cout << (i ? "\t" : "") << rs.Fields(i).Name();
    std::cout << '\n';
    // Escaped, so that a tab or line break inside a value cannot split the row.
    for (; !rs.IsEOF(); rs.MoveNext()) {
        for (int i = 0; i < rs.FieldCount(); ++i)
            std::cout << (i ? "\t" : "") << text::escaped(rs.Fields(i).Value().text());
        std::cout << '\n';
    }
}

void runStatement(ado::Connection& c, const std::string& sql) {
    if (returnsRows(sql)) {
        ado::Recordset rs;
        rs.Open(sql, c);
        printRows(rs);
    } else {
        const std::int64_t affected = c.Execute(sql);
        std::cout << affected << (affected == 1 ? " row" : " rows") << " affected\n";
    }
}

// The table list comes from SQLite's catalogue: both backends are SQLite underneath.
void listTables(ado::Connection& c) {
    std::vector<std::string> names;
    {
        ado::Recordset rs;
        rs.Open("select name from sqlite_master where type='table' and name not like 'sqlite%' "
                "order by name collate nocase",
                c);
        for (; !rs.IsEOF(); rs.MoveNext())
            names.push_back(rs.Fields(0).Value().text());
    }
    std::cout << "table\trows\n";
    for (const std::string& name : names) {
        ado::Recordset rs;
        rs.Open("select count(*) from " + ado::quoteIdentifier(name), c);
        std::cout << name << '\t' << rs.Fields(0).Value().toInt() << '\n';
    }
}

void setUser(ado::Connection& c, const std::string& name) {
    ado::inTransaction(c, [&] {
        c.Execute("delete from CurrentUser");
        // Bound, not spliced: a login name may hold a quote.
        ado::Recordset rs;
        rs.Open("select CurrentUser from CurrentUser", c, ado::adOpenKeyset,
                ado::adLockPessimistic);
        rs.AddNew();
        rs.Fields("CurrentUser") = name;
        rs.Update();
    });
    std::cout << "current user: " << name << '\n';
}

int run(int argc, char** argv) {
    const Options options = parse(argc, argv);
    if (options.command == "--help" || options.command == "-h") {
        std::cout << usage;
        return 0;
    }
    if (options.command.empty())
        throw std::runtime_error(std::string("no command given\n") + usage);
    const auto expectArguments = [&](std::size_t n) {
        if (options.arguments.size() != n)
            throw std::runtime_error(options.command + " takes " +
                                     (n ? std::to_string(n) : std::string("no")) + " argument" +
                                     (n == 1 ? "" : "s") + "\n" + usage);
    };
    const std::string& c0 = options.command;
    if (c0 != "init" && c0 != "sql" && c0 != "tables" && c0 != "set-user")
        throw std::runtime_error("unknown command '" + c0 + "'\n" + usage);
    expectArguments(c0 == "sql" || c0 == "set-user" ? 1 : 0);

    ado::Connection connection;
    connection.Open(options.target.empty() ? defaultTarget() : options.target);
    createSchema(connection);
    if (c0 == "init") {
        std::cout << "link store ready: " << schemaTableNames().size() << " tables\n";
    } else if (c0 == "sql") {
        runStatement(connection, options.arguments[0]);
    } else if (c0 == "tables") {
        listTables(connection);
    } else {
        if (options.arguments[0].empty()) throw std::runtime_error("set-user needs a login name");
        setUser(connection, options.arguments[0]);
    }
    connection.Close();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "velmora-store: " << e.what() << '\n';
        return 1;
    }
}

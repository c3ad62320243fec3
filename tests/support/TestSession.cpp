// A complete add-in session for tests and benchmarks.
// Everything lives in a fresh temporary folder that is removed afterwards.
#include "support/TestSession.h"

#include "platform/ado/Recordset.h"
#include "platform/clock/SystemClock.h"
#include "platform/text/AsciiText.h"
#include "platform/text/QuotedText.h"
#include "store/StoreSession.h"

#include <atomic>
#include <chrono>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <unistd.h>

namespace velmora::testing {

TempDir::TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
        auto candidate =
            base / ("velmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_.reset(new std::filesystem::path(candidate));
            return;
        }
        if (attempt > 100)
            throw std::runtime_error("Cannot create a temporary folder below " + base.string());
    }
}

void TempDir::Remove::operator()(const std::filesystem::path* path) const {
    std::error_code ignored;
    std::filesystem::remove_all(*path, ignored);
    delete path;
}

TestSession::TestSession(const SessionOptions& options, const std::optional<std::string>& server)
    : SessionFolder(options.storeInMemory, server),
      StandInPlatform(options.chinese, temp.path() / "registry", timekeeping::SystemClock().now()) {
    const std::string mainKey = "Software\\OutLook Sync Velmora";
    registry.CreateKey(mainKey);
    registry.CreateKey(mainKey + "\\setting");
    registry.SetValue(mainKey, "Language", registry::textValue(options.chinese ? "CN" : "EN"));
    registry.SetValue(mainKey, "path", registry::textValue(installPath().string()));
    std::filesystem::create_directories(installPath());

    serve(state.platform);
    state.platform.storeConnectionString = store.connectionString();
    state.isChinese = options.chinese;
    state.syncWindowCaption =
        options.chinese ? "Velmora－Outlook信息同步" : "Synchronize Outlook - Velmora";
    state.storeConnection = openStore(state);
    if (!options.user.empty()) insertRow("CurrentUser", "CurrentUser", {options.user});
    state.currentUser = getCurrentUser(state);
}

TestSession::~TestSession() {
    if (state.storeConnection && state.storeConnection->IsOpen()) state.storeConnection->Close();
}

std::string TestSession::scalar(const std::string& sql) {
    ado::Recordset rs;
    rs.Open(sql, state.connection());
    if (rs.IsEOF()) return "";
    return rs.Fields(0).Value().text();
}

long TestSession::count(const std::string& sql) {
    return countRows(state, sql);
}

void TestSession::exec(const std::string& sql) {
    state.connection().Execute(sql);
}

void TestSession::insertRow(const std::string& table, const std::string& columns,
                            std::initializer_list<std::string> values) {
    std::string list;
    for (const std::string& value : values)
        list += (list.empty() ? "" : ",") + text::sqlLiteral(value);
    exec("insert into " + table + " (" + columns + ") values (" + list + ")");
}

void TestSession::refuseInserts(const std::string& table, const std::string& condition,
                                const std::string& message) {
    const std::string name = "refuse_" + text::lower(table);
    if (store.onServer()) {
        const std::string body = "begin if " + condition + " then raise exception '" + message +
                                 "'; end if; return new; end";
        exec("create or replace function " + name + "() returns trigger language plpgsql as " +
             text::sqlLiteral(body));
        exec("create trigger " + name + " before insert on " + table +
             " for each row execute function " + name + "()");
        return;
    }
    // The trigger's ";" inside begin...end is more than one statement to the add-in's layer.
    sqlite3* db = nullptr;
    const bool opened = sqlite3_open(storeFile().c_str(), &db) == SQLITE_OK;
    const std::string sql = "create trigger " + name + " before insert on " + table + " when " +
                            condition + " begin select raise(abort, " + text::sqlLiteral(message) +
                            "); end";
    const bool made =
        opened && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    const std::string error = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    if (!made) throw std::runtime_error("Cannot make the store refuse rows: " + error);
}

void TestSession::mapContact(const std::string& entryId, const std::string& serverId) {
    insertRow("ContactsID", "outlookid, velmoraid", {entryId, serverId});
}

void TestSession::mapEvent(const std::string& entryId, const std::string& serverId) {
    insertRow("CalendarId", "entryid, taskid", {entryId, serverId});
}

void TestSession::mapMail(const std::string& entryId, const std::string& serverId,
                          const std::string& owner) {
    insertRow("EMailsID", "outlookid, msgid, username", {entryId, serverId, owner});
}

void TestSession::mapNote(const std::string& entryId, const std::string& serverId) {
    insertRow("NotesID", "outlookid, velmoraid", {entryId, serverId});
}

void TestSession::mapTask(const std::string& entryId, const std::string& serverId) {
    insertRow("TodosID", "outlookid, velmoraid", {entryId, serverId});
}

host::ItemPtr TestSession::addContact(const std::string& fullName, const std::string& address) {
    auto contact = host.folder(host::olFolderContacts)->Items()->Add(host::olContactItem);
    contact->Set("FullName", fullName);
    contact->Set("Email1Address", address);
    contact->Save();
    return contact;
}

host::ItemPtr TestSession::addAppointment(const std::string& subject, host::DateTime start) {
    auto appointment = host.folder(host::olFolderCalendar)->Items()->Add(host::olAppointmentItem);
    appointment->Set("Subject", subject);
    appointment->Set("Start", start);
    appointment->Set("End", start + std::chrono::hours(1));
    appointment->Save();
    return appointment;
}

} // namespace velmora::testing

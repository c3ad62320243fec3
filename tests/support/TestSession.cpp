// A complete add-in session for tests and benchmarks.
// Everything lives in a fresh temporary folder that is removed afterwards.
#include "support/TestSession.h"

#include "platform/ado/Recordset.h"
#include "platform/clock/SystemClock.h"
#include "store/StoreSession.h"

#include <atomic>
#include <chrono>
#include <random>
#include <unistd.h>

namespace velmora::testing {

namespace {

registry::RegValue stringValue(const std::string& text) {
    registry::RegValue v{registry::REG_SZ, std::vector<std::uint8_t>(text.begin(), text.end())};
    v.data.push_back(0);
    return v;
}

} // namespace

TempDir::TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
        auto candidate =
            base / ("velmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
        if (attempt > 100)
            throw std::runtime_error("Cannot create a temporary folder below " + base.string());
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

TestSession::TestSession(SessionOptions options)
    : clock(timekeeping::SystemClock().now()), host(options.chinese),
      registry(temp.path() / "registry"), mapi(host.application()) {
    const std::string mainKey = "Software\\OutLook Sync Velmora";
    registry.CreateKey(mainKey);
    registry.CreateKey(mainKey + "\\setting");
    registry.SetValue(mainKey, "Language", stringValue(options.chinese ? "CN" : "EN"));
    registry.SetValue(mainKey, "path", stringValue(installPath().string()));
    std::filesystem::create_directories(installPath());

    host.setClock(clock);
    state.platform.clock = &clock;
    state.platform.application = &host.application();
    state.platform.messageBox = &messages;
    state.platform.windowSystem = &windows;
    state.platform.registry = &registry;
    state.platform.mapi = &mapi;
    state.platform.storeConnectionString =
        options.storeInMemory ? ":memory:" : "Database=" + storeFile().string();
    state.isChinese = options.chinese;
    state.syncWindowCaption =
        options.chinese ? "Velmora－Outlook信息同步" : "Synchronize Outlook - Velmora";
    state.storeConnection = openStore(state);
    if (!options.user.empty())
        exec("insert into CurrentUser (CurrentUser) values ('" + ado::sqlText(options.user) + "')");
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
    ado::Recordset rs;
    rs.Open(sql, state.connection());
    long n = 0;
    for (; !rs.IsEOF(); rs.MoveNext())
        ++n;
    return n;
}

void TestSession::exec(const std::string& sql) {
    state.connection().Execute(sql);
}

void TestSession::mapContact(const std::string& entryId, const std::string& serverId) {
    exec("insert into ContactsID (outlookid, velmoraid) values ('" + ado::sqlText(entryId) + "','" +
         ado::sqlText(serverId) + "')");
}

void TestSession::mapEvent(const std::string& entryId, const std::string& serverId) {
    exec("insert into CalendarId (entryid, taskid) values ('" + ado::sqlText(entryId) + "','" +
         ado::sqlText(serverId) + "')");
}

void TestSession::mapMail(const std::string& entryId, const std::string& serverId,
                          const std::string& owner) {
    exec("insert into EMailsID (outlookid, msgid, username) values ('" + ado::sqlText(entryId) +
         "','" + ado::sqlText(serverId) + "','" + ado::sqlText(owner) + "')");
}

void TestSession::mapNote(const std::string& entryId, const std::string& serverId) {
    exec("insert into NotesID (outlookid, velmoraid) values ('" + ado::sqlText(entryId) + "','" +
         ado::sqlText(serverId) + "')");
}

void TestSession::mapTask(const std::string& entryId, const std::string& serverId) {
    exec("insert into TodosID (outlookid, velmoraid) values ('" + ado::sqlText(entryId) + "','" +
         ado::sqlText(serverId) + "')");
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

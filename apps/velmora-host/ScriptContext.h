// What every command group of the scripted host works on: the in-memory platform, the add-in
// state, the named items of the script and the dialogs in view.
#pragma once

#include "addin/AddInDesigner1.h"
#include "addin/AddinState.h"
#include "platform/controls/Form.h"
#include "platform/mailbox/MailboxHost.h"
#include "ScriptClock.h"
#include "store/StandInPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

struct ScriptContext : StandInPlatform<ScriptClock> {
    explicit ScriptContext(std::ostream& output)
        : StandInPlatform(false, registry::FileRegistry::defaultPath()), out(output) {
        // One clock for the session: the host and the add-in read the same time.
        serve(state.platform);
        if (const char* target = std::getenv("VELMORA_STORE_CONNECTION"))
            state.platform.storeConnectionString = target;
        state.platform.statementWatch = [this](const std::string& sql) { onStatement(sql); };
        state.platform.fileWatch = [this](std::string_view step,
                                          const std::filesystem::path& path) {
            onFileStep(step, path);
        };
        // A mailbox folder keeps the host's items from run to run.
        if (const char* folder = std::getenv("VELMORA_MAILBOX"); folder && *folder) {
            const char* send = std::getenv("VELMORA_SENDMAIL");
            mailbox = std::make_unique<mailbox::MailboxHost>(host, folder, send ? send : "");
        }
        host.watch([this](const std::string& folder,
                          const std::string& filter) { onFilter(folder, filter); },
                   [this](const host::ItemPtr& item) { onDisplayed(item); });
    }

    std::ostream& out;
    // The folder of the script file, which the files a script names are relative to.
    std::filesystem::path scriptFolder = ".";
    // The folder the host's items are kept in, when there is one; it outlives the add-in, which
    // may still save items as it goes.
    std::unique_ptr<mailbox::MailboxHost> mailbox;
    AddinState state;
    // The add-in's connection object once "connect" ran; it goes before the state it uses.
    std::unique_ptr<AddInDesigner1> addin;
    std::map<std::string, host::ItemPtr> items;
    // Message boxes already looked at by an expectation.
    std::size_t checkedMessages = 0;

    // Statements the add-in sent, and how many an expectation has looked at; with trace on each
    // is printed as it goes. The script's own statements and filters (OwnCalls) are neither
    // recorded nor failed.
    std::vector<std::string> statements;
    std::size_t checkedStatements = 0;
    bool trace = false;
    int ownCalls = 0;
    struct OwnCalls {
        ScriptContext& ctx;
        explicit OwnCalls(ScriptContext& c) : ctx(c) { ++ctx.ownCalls; }
        ~OwnCalls() { --ctx.ownCalls; }
    };
    // "fail store": the next statement holding the pattern fails with the description.
    std::vector<std::pair<std::string, std::string>> storeFaults;
    // "crash at-statement N" / "crash at-file N": the process stops abruptly just before the
    // N-th statement the add-in sends / the N-th file step of the link engine from then on.
    enum class CrashPoint { None, Statement, FileStep };
    static constexpr int crashExitCode = 3;
    CrashPoint crashAt = CrashPoint::None;
    long crashCountdown = 0;
    // Filters handed to the host and items it displayed, each with its expectation mark.
    std::vector<std::string> filters;
    std::size_t checkedFilters = 0;
    std::vector<std::string> displayed;
    std::size_t checkedDisplayed = 0;

    // The dialogs in view, innermost (the one a dialog command acts on) last.
    std::vector<controls::Form*> forms;
    // The dialogs shown without blocking and still in view, in the order they were shown.
    std::vector<controls::Form*> shown;
    // Plays a modal dialog: reads script lines until the dialog closes or "end"; set by the runner.
    std::function<void(controls::Form&)> modalLoop;

    host::ItemPtr named(const std::string& name) const {
        const auto found = items.find(name);
        if (found == items.end()) throw std::runtime_error("No item is called \"" + name + "\"");
        return found->second;
    }

    // The explorer the user works in; commands on the selection or the bars need one open.
    host::ExplorerPtr activeExplorer() {
        auto explorer = host.application().ActiveExplorer();
        if (!explorer) throw std::runtime_error("No explorer is open");
        return explorer;
    }

    // No destructor runs and nothing is flushed, as when the machine loses power: the store
    // keeps only what it committed, the folders only the steps already taken.
    void countTowardsCrash(CrashPoint kind, const std::string& what) {
        if (crashAt != kind || --crashCountdown > 0) return;
        std::fputs(("(crash before " + what + ")\n").c_str(), stderr);
        std::_Exit(crashExitCode);
    }

    void onStatement(const std::string& sql) {
        if (ownCalls > 0) return;
        countTowardsCrash(CrashPoint::Statement, "statement " + sql);
        for (auto fault = storeFaults.begin(); fault != storeFaults.end(); ++fault)
            if (sql.find(fault->first) != std::string::npos) {
                const std::string description = fault->second;
                storeFaults.erase(fault);
                throw ado::StoreError(description);
            }
        statements.push_back(sql);
        if (trace) out << "(sql " << sql << ")\n";
    }

    void onFileStep(std::string_view step, const std::filesystem::path& path) {
        const std::string what = std::string(step) + " " + path.string();
        countTowardsCrash(CrashPoint::FileStep, what);
        if (trace) out << "(file " << what << ")\n";
    }

    void onFilter(const std::string& folder, const std::string& filter) {
        if (ownCalls > 0) return;
        filters.push_back(filter);
        if (trace) out << "(filter " << folder << " " << filter << ")\n";
    }

    void onDisplayed(const host::ItemPtr& item) {
        static const std::map<int, const char*> classes = {{host::olMail, "MailItem"},
                                                           {host::olAppointment, "AppointmentItem"},
                                                           {host::olContact, "ContactItem"},
                                                           {host::olNote, "NoteItem"},
                                                           {host::olTask, "TaskItem"}};
        const auto name = classes.find(item->Class());
        const std::string subject =
            item->Class() == host::olContact ? item->Text("FullName") : item->Text("Subject");
        displayed.push_back(subject);
        out << "(displayed " << (name == classes.end() ? "Item" : name->second) << " " << subject
            << ")\n";
    }

    controls::Form& currentForm() const {
        if (forms.empty()) throw std::runtime_error("No dialog is open");
        return *forms.back();
    }
};

} // namespace velmora::app

// Scripted-host commands that act as the user of the mail host: items, folders, selection,
// inspectors, sending, and the faults a test wants the host to raise.
#pragma once

#include "platform/host/HostCore.h"

#include "CommandTable.h"
#include "ScriptContext.h"

namespace velmora::app {

class HostCommands : public CommandGroup {
  public:
    using CommandGroup::CommandGroup;
    void install(CommandTable& table) override;

    host::FolderPtr folderByPath(const std::string& path) const;
    // The user acts on the host: injected faults are for the add-in's calls, which the host's
    // events lead back to.
    template <typename Body> void asUser(Body&& body) {
        host::Faults::UserCalls user(ctx_.host.faults());
        body();
    }

  private:
    // The verbs, one member each, in the order of the table.
    void newItem(const Words& w);
    void receive(const Words& w);
    void set(const Words& w);
    void attachFile(const Words& w);
    void link(const Words& w);
    void unlink(const Words& w);
    void recur(const Words& w);
    void deleteItem(const Words& w);
    void show(const Words& w);
    void folder(const Words& w);
    void mkfolder(const Words& w);
    void select(const Words& w);
    void find(const Words& w);
    void name(const Words& w);
    void compose(const Words& w);
    void open(const Words& w);
    void send(const Words& w);
    void deliver(const Words& w);
    void delivery(const Words& w);
    void clock(const Words& w);
    void hostLanguage(const Words& w);
    void timezone(const Words& w);
    void timeformat(const Words& w);
    void fail(const Words& w);
    void explorer(const Words& w);

    void applyProperties(host::Item& item, const Words& words, std::size_t from) const;
    void printItem(const host::Item& item) const;
};

} // namespace velmora::app

// The in-memory mail host: a complete stand-in for the host application that tests, tools and
// benchmarks drive, with hooks to set the clock, inject faults and deliver the Outbox.
#pragma once

#include "platform/clock/Clock.h"
#include "platform/host/ObjectModel.h"

#include <memory>
#include <string>

namespace velmora::host {

class HostCore;
class Faults;
class InMemoryApplication;

class InMemoryHost {
  public:
    // chinese: folder names in Chinese. withExplorer: one explorer open on the Inbox.
    explicit InMemoryHost(bool chinese = false, bool withExplorer = true);
    ~InMemoryHost();
    InMemoryHost(const InMemoryHost&) = delete;
    InMemoryHost& operator=(const InMemoryHost&) = delete;

    host::Application& application();
    // A shorthand for GetNamespace("MAPI").GetDefaultFolder(type), without fault checks.
    FolderPtr folder(int folderType);

    // A further store ("Archive") with its own StoreID and Deleted Items; returns its root.
    FolderPtr addStore(const std::string& name);

    // The clock that stamps CreationTime (creation), LastModificationTime (Save) and SentOn:
    // the host's own system clock until another one, kept by the caller, is set.
    timekeeping::Clock& clock();
    void setClock(timekeeping::Clock& clock);

    // Makes "<Class>.<Member>" raise HostError(description); times -1 means until cleared.
    void failMember(const std::string& member, const std::string& description, int times = -1);
    void clearFaults();

    ExplorerPtr addExplorer(); // on the Inbox
    void closeAllExplorers();  // raising each one's CloseEvent

    // Sends what waits in the Outbox: each mail moves to Sent Items under a new entry ID.
    void deliverOutbox();
    // Held: the host's Send/Receive command leaves the Outbox waiting for deliverOutbox, as a
    // slow network would. Not held (the start): Send/Receive delivers at once.
    void holdDelivery(bool held);

    // Takes a built-in control off every bar, now and in windows opened later.
    void removeBuiltIn(int id);

    // The profile's owner: the sender of mails this host sends.
    void setUser(const std::string& name, const std::string& address);
    // A mail that arrived: sent, with a sender, in the Inbox (or the given folder), saved.
    ItemPtr receiveMail(const std::string& subject, const std::string& senderName,
                        const std::string& senderAddress, const FolderPtr& folder = nullptr);

    // What the host was asked: filters handed to Find or Restrict (folder name, filter text),
    // items displayed, and how often an injected fault was raised.
    void watch(std::function<void(const std::string&, const std::string&)> filters,
               std::function<void(const ItemPtr&)> displayed);
    int faultHits(const std::string& member) const;
    // The injected faults themselves, for a sweep that records which members an operation calls.
    Faults& faults();
    // Default folder names of a Chinese or an English installation; only while no item exists.
    void useLanguage(bool chinese);

    // The model behind the objects, for what keeps them elsewhere (a mailbox folder).
    const std::shared_ptr<HostCore>& core() const { return core_; }

  private:
    std::shared_ptr<HostCore> core_;
    std::unique_ptr<InMemoryApplication> app_;
};

} // namespace velmora::host

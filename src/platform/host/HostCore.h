// The shared model behind every in-memory host object: stores and default folders, the entry-ID
// index, the clock, injected faults, the host's command bars and the sender identity.
#pragma once

#include "platform/clock/Clock.h"
#include "platform/host/ObjectModel.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace velmora::host {

class InMemoryFolder;
class InMemoryItem;
class InMemoryCommandBars;
class ItemKeeper;

// Injected failures: a member named "<Class>.<Member>" (names compare without regard to case)
// raises HostError with a chosen description, for n calls or until cleared.
class Faults {
  public:
    // times: -1 fails every call until cleared; n > 0 fails the next n calls.
    // passing: calls let through before the first that fails.
    void fail(const std::string& member, const std::string& description, int times = -1,
              int passing = 0);
    void clear() {
        faults_.clear();
        hits_.clear();
    }
    // False while no fault is set and nothing is recorded: the common case costs one test.
    bool active() const { return !faults_.empty() || recording_; }
    // From now on every member checked is remembered (as spelled by the host), until stopped;
    // a fault sweep learns from it which members an operation calls.
    void record(bool on) {
        recording_ = on;
        if (on) recorded_.clear();
    }
    // Each member recorded, with how often it was called.
    const std::map<std::string, int>& recorded() const { return recorded_; }

    // While a user's own action runs (a script's host command), its calls are neither failed
    // nor recorded: only what the add-in calls is. The handlers the host calls back from there
    // are the add-in again, so raising an event opens a HandlerCalls scope.
    class UserCalls {
      public:
        explicit UserCalls(Faults& f) : faults_(f) { ++faults_.userDepth_; }
        ~UserCalls() { --faults_.userDepth_; }
        UserCalls(const UserCalls&) = delete;
        UserCalls& operator=(const UserCalls&) = delete;

      private:
        Faults& faults_;
    };
    class HandlerCalls {
      public:
        explicit HandlerCalls(Faults& f) : faults_(f), saved_(std::exchange(f.userDepth_, 0)) {}
        ~HandlerCalls() { faults_.userDepth_ = saved_; }
        HandlerCalls(const HandlerCalls&) = delete;
        HandlerCalls& operator=(const HandlerCalls&) = delete;

      private:
        Faults& faults_;
        int saved_;
    };
    // Raises HostError when the member is set to fail, and counts the call against its limit.
    void check(std::string_view member);
    // How often the member raised its fault since the last clear.
    int hits(std::string_view member) const;

  private:
    struct Fault {
        std::string description;
        int remaining;
        int passing;
    };
    std::map<std::string, Fault, std::less<>> faults_; // keyed by the lower-cased member name
    std::map<std::string, int, std::less<>> hits_;
    bool recording_ = false;
    std::map<std::string, int> recorded_;
    int userDepth_ = 0;
};

class HostCore : public std::enable_shared_from_this<HostCore> {
  public:
    explicit HostCore(bool chinese);
    HostCore(const HostCore&) = delete;
    HostCore& operator=(const HostCore&) = delete;

    bool chinese() const { return chinese_; }
    // The default folders take the names of a Chinese or an English installation; refused once
    // the host holds an item.
    void useLanguage(bool chinese);
    Faults& faults() { return faults_; }
    // Called on every host call; the common case of no injected fault stays inline.
    void check(std::string_view member) {
        if (faults_.active()) faults_.check(member);
    }
    // The same for "<object>.<member>", putting the name together only when a fault is set.
    void check(std::string_view object, std::string_view member) {
        if (faults_.active()) faults_.check(std::string(object) + "." + std::string(member));
    }

    // Raises a host event; what its handlers call is the add-in's doing (see Faults::UserCalls).
    template <typename Source, typename... Args> void raise(const Source& event, Args&&... args) {
        Faults::HandlerCalls handlers(faults_);
        event.raise(std::forward<Args>(args)...);
    }

    // The host reads the local time from the clock it is given, else from its own system clock.
    DateTime now() const { return clock_->now(); }
    timekeeping::Clock& clock() const { return *clock_; }
    void setClock(timekeeping::Clock& clock) { clock_ = &clock; }

    std::string newEntryId();
    std::string newFolderId();

    // What keeps the items beyond the process, told of each change first; null keeps them in
    // memory only. Not owned.
    ItemKeeper* keeper() const { return keeper_; }
    void setKeeper(ItemKeeper* keeper) { keeper_ = keeper; }
    // The entry ID an item gets in folder, saved there first or moved there from fromEntryId:
    // the keeper's, which it stores first, else a fresh one.
    std::string storedEntryId(InMemoryItem& item, InMemoryFolder& folder,
                              const std::string& fromEntryId);

    // Entry IDs of saved items; the index holds items weakly, so a destroyed item is gone.
    void index(const std::shared_ptr<InMemoryItem>& item);
    // Room for this many more entry IDs, ahead of loading a large folder.
    void reserveIndex(std::size_t more) { items_.reserve(items_.size() + more); }
    void unindex(const std::string& entryId);
    std::shared_ptr<InMemoryItem> lookup(const std::string& entryId) const;

    // The first store made is the default one and gets every default folder.
    std::shared_ptr<InMemoryFolder> addStore(const std::string& name);
    std::vector<std::shared_ptr<InMemoryFolder>> storeRoots() const;
    std::shared_ptr<InMemoryFolder> defaultFolder(int folderType) const; // raises HostError
    std::shared_ptr<InMemoryFolder> deletedItemsOf(const std::string& storeId) const;
    // The default folder an item of this kind is saved to when it was created without one.
    std::shared_ptr<InMemoryFolder> homeFolderFor(int itemType) const;

    // The explorers share one set of bars, as customised bars persist in the host.
    std::shared_ptr<InMemoryCommandBars> explorerBars();
    std::shared_ptr<InMemoryCommandBars> newInspectorBars();
    // Every set of bars still alive, for the tag-wide Click of CommandBarControl::Execute.
    std::vector<std::shared_ptr<InMemoryCommandBars>> liveBars();
    void removeBuiltIn(int id);

    void setUser(const std::string& name, const std::string& address);
    const std::string& userName() const { return userName_; }
    const std::string& userAddress() const { return userAddress_; }

    // Moves every Outbox mail of the default store to Sent Items, each under a new entry ID.
    void deliverOutbox();
    // The Send/Receive command: delivers at once, unless the network is held back, when the
    // Outbox waits for an explicit deliverOutbox (a mail reaching Sent Items late).
    void sendReceive();
    void setDeliveryHeld(bool held) { deliveryHeld_ = held; }

    // Set by the application: what Item::Display does.
    std::function<void(const ItemPtr&)> onDisplay;
    // Set by the application: the explorer Folder::GetExplorer hands out.
    std::function<ExplorerPtr(const FolderPtr&)> onGetExplorer;
    // Set by whoever watches the host: each filter handed to Find or Restrict with its folder's
    // name, and each item displayed.
    std::function<void(const std::string&, const std::string&)> watchFilter;
    std::function<void(const ItemPtr&)> watchDisplay;

  private:
    struct Store {
        std::shared_ptr<InMemoryFolder> root;
        std::map<int, std::shared_ptr<InMemoryFolder>> defaults;
    };

    bool chinese_;
    Faults faults_;
    std::unique_ptr<timekeeping::Clock> ownClock_;
    timekeeping::Clock* clock_;
    unsigned long long nextItem_ = 1;
    unsigned long long nextFolder_ = 1;
    std::unordered_map<std::string, std::weak_ptr<InMemoryItem>> items_;
    std::vector<Store> stores_;
    std::shared_ptr<InMemoryCommandBars> explorerBars_;
    std::vector<std::weak_ptr<InMemoryCommandBars>> inspectorBars_;
    std::set<int> removedBuiltIns_;
    std::string userName_ = "Outlook User";
    std::string userAddress_ = "user@velmora.example";
    bool deliveryHeld_ = false;
    ItemKeeper* keeper_ = nullptr;
};

// What each in-memory host object keeps of the host: a weak reference, since an object handed
// to the add-in may outlive the host, and the check every member call starts with.
class HostRef {
  public:
    explicit HostRef(std::weak_ptr<HostCore> core)
        : core_(std::move(core)), raw_(core_.lock().get()) {}

    // Raises HostError once the host is gone.
    std::shared_ptr<HostCore> lock() const {
        auto core = core_.lock();
        if (!core) throw HostError("The mail host has been shut down");
        return core;
    }
    // lock() and the member's fault check.
    std::shared_ptr<HostCore> use(std::string_view member) const {
        auto core = lock();
        core->check(member);
        return core;
    }
    // For members that run once per item of a walk: the same checks without taking a reference.
    HostCore& live(std::string_view member) const {
        HostCore& core = alive();
        core.check(member);
        return core;
    }
    HostCore& live(std::string_view object, std::string_view member) const {
        HostCore& core = alive();
        core.check(object, member);
        return core;
    }
    // A property read: the member's checks, then the value.
    template <typename T> const T& get(std::string_view member, const T& value) const {
        live(member);
        return value;
    }
    const std::weak_ptr<HostCore>& weak() const { return core_; }

  private:
    HostCore& alive() const {
        if (core_.expired()) throw HostError("The mail host has been shut down");
        return *raw_;
    }

    std::weak_ptr<HostCore> core_;
    HostCore* raw_; // valid while core_ has not expired
};

} // namespace velmora::host

// The shared model behind every in-memory host object.
// An empty fault list is the common path and costs one comparison, so every member can check.
#include "platform/host/HostCore.h"

#include "platform/clock/SystemClock.h"
#include "platform/host/InMemoryCommandBarControl.h"
#include "platform/host/InMemoryCommandBars.h"
#include "platform/host/InMemoryFolder.h"
#include "platform/host/InMemoryItem.h"
#include "platform/host/InMemoryItems.h"
#include "platform/host/ItemKeeper.h"
#include "platform/host/PropertyCatalog.h"
#include "platform/text/AsciiText.h"
#include "platform/text/Bilingual.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace velmora::host {

namespace {

std::string hexId(const char* kind, unsigned long long n) {
    // A provider GUID as the host's own entry IDs carry, then the object kind and a counter.
    char buf[80];
    std::snprintf(buf, sizeof buf, "000000001A447390AA6611CD9BC800AA002FC45A%s%012llX", kind, n);
    return buf;
}

struct DefaultFolderName {
    int type;
    int itemType;
    text::Bilingual name;
};

// The host's own names; the add-in recognises default folders by exactly these texts.
constexpr DefaultFolderName kDefaults[] = {
    {olFolderInbox, olMailItem, {.english = "Inbox", .chinese = "收件箱"}},
    {olFolderOutbox, olMailItem, {.english = "Outbox", .chinese = "发件箱"}},
    {olFolderSentMail, olMailItem, {.english = "Sent Items", .chinese = "已发送的邮件"}},
    {olFolderDeletedItems, olMailItem, {.english = "Deleted Items", .chinese = "已删除的邮件"}},
    {olFolderDrafts, olMailItem, {.english = "Drafts", .chinese = "草稿"}},
    {olFolderCalendar, olAppointmentItem, {.english = "Calendar", .chinese = "日历"}},
    {olFolderContacts, olContactItem, {.english = "Contacts", .chinese = "联系人"}},
    {olFolderTasks, olTaskItem, {.english = "Tasks", .chinese = "任务"}},
    {olFolderNotes, olNoteItem, {.english = "Notes", .chinese = "便笺"}},
    {olFolderJournal, olJournalItem, {.english = "Journal", .chinese = "日记"}},
};

} // namespace

void Faults::fail(const std::string& member, const std::string& description, int times,
                  int passing) {
    if (member.empty()) throw HostError("A fault needs a member name such as \"Items.Find\"");
    if (times == 0 || times < -1)
        throw HostError("A fault fails -1 (always) or a positive number of times, not " +
                        std::to_string(times));
    faults_[text::lower(member)] = Fault{description, times, passing};
}

void Faults::check(std::string_view member) {
    if (userDepth_ > 0) return;
    if (recording_) ++recorded_[std::string(member)];
    if (faults_.empty()) return;
    const auto it = faults_.find(text::lower(member));
    if (it == faults_.end()) return;
    if (it->second.passing > 0) {
        --it->second.passing;
        return;
    }
    const std::string description = it->second.description;
    ++hits_[it->first];
    if (it->second.remaining > 0 && --it->second.remaining == 0) faults_.erase(it);
    throw HostError(description);
}

int Faults::hits(std::string_view member) const {
    const auto it = hits_.find(text::lower(member));
    return it == hits_.end() ? 0 : it->second;
}

HostCore::HostCore(bool chinese)
    : chinese_(chinese), ownClock_(std::make_unique<timekeeping::SystemClock>()),
      clock_(ownClock_.get()) {}

void HostCore::useLanguage(bool chinese) {
    if (!items_.empty()) throw HostError("The host's language is chosen before it holds any item");
    chinese_ = chinese;
    for (auto& store : stores_)
        for (const auto& d : kDefaults)
            if (const auto it = store.defaults.find(d.type); it != store.defaults.end())
                it->second->rename(d.name.in(chinese));
}

std::string HostCore::newEntryId() {
    return hexId("0700", nextItem_++);
}

std::string HostCore::newFolderId() {
    return hexId("0100", nextFolder_++);
}

std::string HostCore::storedEntryId(InMemoryItem& item, InMemoryFolder& folder,
                                    const std::string& fromEntryId) {
    return keeper_ ? keeper_->stored(item, folder, fromEntryId) : newEntryId();
}

void HostCore::index(const std::shared_ptr<InMemoryItem>& item) {
    items_[std::get<std::string>(item->field(pEntryID))] = item;
}

void HostCore::unindex(const std::string& entryId) {
    items_.erase(entryId);
}

std::shared_ptr<InMemoryItem> HostCore::lookup(const std::string& entryId) const {
    auto it = items_.find(entryId);
    if (it == items_.end() && keeper_) {
        keeper_->loadAll();
        it = items_.find(entryId);
    }
    if (it == items_.end()) return nullptr;
    auto item = it->second.lock();
    // An item that left every folder no longer answers to its ID.
    return item && item->home() ? item : nullptr;
}

std::shared_ptr<InMemoryFolder> HostCore::addStore(const std::string& name) {
    const std::string trimmed(text::trim(name));
    if (trimmed.empty()) throw HostError("A store needs a name");
    for (const auto& s : stores_)
        if (text::iequals(s.root->name(), trimmed))
            throw HostError("A store named \"" + trimmed + "\" is already open");
    char storeId[96];
    std::snprintf(storeId, sizeof storeId,
                  "0000000038A1BB1005E5101AA1BB08002B2A56C20000707374707273742E646C6C%08zX",
                  stores_.size() + 1);
    Store store;
    store.root = InMemoryFolder::create(shared_from_this(), trimmed, olMailItem, storeId, nullptr);
    const bool isDefault = stores_.empty();
    for (const auto& d : kDefaults) {
        // Every store has its own Deleted Items; only the default store has the others.
        if (!isDefault && d.type != olFolderDeletedItems) continue;
        store.defaults[d.type] = store.root->addChild(d.name.in(chinese_), d.itemType);
    }
    stores_.push_back(store);
    return store.root;
}

std::vector<std::shared_ptr<InMemoryFolder>> HostCore::storeRoots() const {
    std::vector<std::shared_ptr<InMemoryFolder>> roots;
    for (const auto& s : stores_)
        roots.push_back(s.root);
    return roots;
}

std::shared_ptr<InMemoryFolder> HostCore::defaultFolder(int folderType) const {
    if (!stores_.empty()) {
        const auto it = stores_.front().defaults.find(folderType);
        if (it != stores_.front().defaults.end()) return it->second;
    }
    throw HostError("GetDefaultFolder: " + std::to_string(folderType) +
                    " is not a default folder (3, 4, 5, 6, 9, 10, 11, 12, 13 or 16)");
}

std::shared_ptr<InMemoryFolder> HostCore::deletedItemsOf(const std::string& storeId) const {
    for (const auto& s : stores_)
        if (s.root->storeId() == storeId) {
            const auto it = s.defaults.find(olFolderDeletedItems);
            return it == s.defaults.end() ? nullptr : it->second;
        }
    return nullptr;
}

std::shared_ptr<InMemoryFolder> HostCore::homeFolderFor(int itemType) const {
    // A new mail waits in Drafts; a post, which has no folder of its own, goes to the Inbox.
    static constexpr std::pair<int, int> kHomes[] = {
        {olMailItem, olFolderDrafts},      {olAppointmentItem, olFolderCalendar},
        {olContactItem, olFolderContacts}, {olTaskItem, olFolderTasks},
        {olJournalItem, olFolderJournal},  {olNoteItem, olFolderNotes},
    };
    for (const auto& [type, folder] : kHomes)
        if (type == itemType) return defaultFolder(folder);
    return defaultFolder(olFolderInbox);
}

std::shared_ptr<InMemoryCommandBars> HostCore::explorerBars() {
    if (!explorerBars_) {
        explorerBars_ = std::make_shared<InMemoryCommandBars>(weak_from_this());
        buildExplorerBars(*explorerBars_, weak_from_this(), removedBuiltIns_);
    }
    return explorerBars_;
}

std::shared_ptr<InMemoryCommandBars> HostCore::newInspectorBars() {
    auto bars = std::make_shared<InMemoryCommandBars>(weak_from_this());
    buildInspectorBars(*bars, weak_from_this(), removedBuiltIns_);
    inspectorBars_.erase(std::remove_if(inspectorBars_.begin(), inspectorBars_.end(),
                                        [](const auto& w) { return w.expired(); }),
                         inspectorBars_.end());
    inspectorBars_.push_back(bars);
    return bars;
}

std::vector<std::shared_ptr<InMemoryCommandBars>> HostCore::liveBars() {
    std::vector<std::shared_ptr<InMemoryCommandBars>> live;
    if (explorerBars_) live.push_back(explorerBars_);
    for (const auto& w : inspectorBars_)
        if (auto bars = w.lock()) live.push_back(bars);
    return live;
}

void HostCore::removeBuiltIn(int id) {
    removedBuiltIns_.insert(id);
    for (const auto& bars : liveBars())
        for (const auto& bar : bars->bars())
            bar->controls().removeId(id);
}

void HostCore::setUser(const std::string& name, const std::string& address) {
    userName_ = name;
    userAddress_ = address;
}

void HostCore::deliverOutbox() {
    const auto outbox = defaultFolder(olFolderOutbox);
    const auto sent = defaultFolder(olFolderSentMail);
    // A copy: handlers of Sent Items' ItemAdd may send more mail while this runs.
    const auto waiting = outbox->items()->members();
    for (const auto& mail : waiting) {
        if (mail->itemType() != olMailItem || mail->home() != outbox) continue;
        const DateTime when = now();
        // A mail that cannot be sent or kept waits in the Outbox unsent, as it was.
        std::vector<std::pair<int, Variant>> before;
        for (int slot : {pSent, pSentOn, pReceivedTime, pSenderName, pSenderEmailAddress})
            before.emplace_back(slot, mail->field(slot));
        mail->put(pSent, true);
        mail->put(pSentOn, when);
        mail->put(pReceivedTime, when);
        if (std::get<std::string>(mail->field(pSenderName)).empty())
            mail->put(pSenderName, userName_);
        if (std::get<std::string>(mail->field(pSenderEmailAddress)).empty())
            mail->put(pSenderEmailAddress, userAddress_);
        try {
            mail->moveTo(sent);
        } catch (...) {
            if (mail->home() == outbox)
                for (auto& [slot, value] : before)
                    mail->put(slot, std::move(value));
            throw;
        }
    }
}

void HostCore::sendReceive() {
    if (!deliveryHeld_) deliverOutbox();
}

} // namespace velmora::host

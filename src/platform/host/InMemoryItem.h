// One item of the in-memory host: mail, appointment, contact, task, note, journal entry or post.
// Properties live in a small slot list; derived ones (FullName, To, Duration...) are kept current.
#pragma once

#include "platform/host/HostCore.h"
#include "platform/host/ObjectModel.h"
#include "platform/host/PropertyCatalog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::host {

class HostCore;
class InMemoryFolder;
class InMemoryRecipients;
class InMemoryAttachments;
class InMemoryLinks;

class InMemoryItem : public Item {
  public:
    // target: the folder a first Save puts the item in; null for the kind's default folder.
    static std::shared_ptr<InMemoryItem> create(const std::shared_ptr<HostCore>& core, int itemType,
                                                const std::shared_ptr<InMemoryFolder>& target);
    InMemoryItem(std::weak_ptr<HostCore> core, int itemType);
    ~InMemoryItem() override;

    int Class() const override;
    std::string EntryID() const override;
    Variant Get(std::string_view property) const override;
    void Set(std::string_view property, const Variant& value) override;
    void Save() override;
    void Delete() override;
    std::shared_ptr<Folder> Parent() const override;
    void Display() override;
    host::Recipients& Recipients() override;
    host::Attachments& Attachments() override;
    host::Links& Links() override;
    RecurrencePattern GetRecurrencePattern() const override;
    void SetRecurrencePattern(const RecurrencePattern& pattern) override;
    void ClearRecurrencePattern() override;
    void Send() override;
    EventSource<bool&>& SendEvent() override { return send_; }

    // Host side: no fault checks, no read-only rule.
    int itemType() const { return type_; }
    const Variant& field(int slot) const;
    void put(int slot, Variant value);
    // Room for this many properties, for an item about to be filled in one go.
    void reserveFields(std::size_t count) { values_.reserve(count); }
    // The case-folded text of a text slot, folded on first use and kept until the slot is set.
    const std::string& foldedText(int slot) const;
    // Asks the processor for the lines field() reads, ahead of a walk reaching this item.
    void prefetch() const;
    // Raises HostError once the host is gone.
    std::shared_ptr<HostCore> core() const { return host_.lock(); }
    std::shared_ptr<InMemoryFolder> home() const { return home_.lock(); }
    void setHome(const std::shared_ptr<InMemoryFolder>& folder) { home_ = folder; }
    void setEntryId(const std::string& id);
    // Moves a saved item to another folder under a new entry ID and raises ItemAdd there.
    void moveTo(const std::shared_ptr<InMemoryFolder>& target);
    // Recomputes To/CC/BCC from the recipients.
    void recipientsChanged();
    long contentSize() const;

    // For the keeper, host side: what the item holds besides its properties.
    bool holds(int slot) const;
    // Null for a kind without recipients (attachments); made on first use, as most items of a
    // large folder never have their collections asked for.
    InMemoryRecipients* recipientList() const;
    InMemoryAttachments* attachmentList() const;
    InMemoryLinks& linkList() const;
    const std::optional<RecurrencePattern>& pattern() const { return pattern_; }
    void restorePattern(const std::optional<RecurrencePattern>& pattern);
    // Bits of the derived properties (FullName, FileAs, addresses) the caller set himself.
    static constexpr unsigned explicitFileAs = 2;
    unsigned explicitDerived() const { return explicitDerived_; }
    void restoreExplicitDerived(unsigned bits) { explicitDerived_ = bits; }
    // Loaded without its bodies and attachments: the keeper completes it on first use.
    void markPartial() { partial_ = true; }
    bool partial() const { return partial_; }

  private:
    void checkAlive(const char* member) const;
    // Where slot's value is, or would go, in values_.
    std::size_t position(int slot) const;
    // Has the keeper read the rest of a partly loaded item; a read of a const item may ask.
    void complete() const;
    void applySet(int slot, const Variant& value);
    void deriveContact(int changed);
    void deriveAppointment(int changed);
    void stampSaved();
    std::shared_ptr<InMemoryItem> self();

    // The read members run once per item of a walk, so they use host_.live, which takes no
    // reference to the host.
    HostRef host_;
    int type_;
    // Which slots hold a value, one bit each, inside the item itself; values_ holds their values
    // in slot order, so a lookup is a bit count instead of a scan of another heap block.
    std::array<std::uint64_t, (pPropCount + 63) / 64> present_{};
    std::vector<Variant> values_;
    mutable std::vector<std::pair<int, std::string>> folded_; // by slot, in no order
    std::weak_ptr<InMemoryFolder> home_;   // where it is stored; empty while unsaved
    std::weak_ptr<InMemoryFolder> target_; // where a first Save stores it
    unsigned explicitDerived_ = 0;         // bits: derived properties the caller set himself
    bool gone_ = false;                    // permanently deleted
    bool raisingChange_ = false;
    mutable bool partial_ = false;
    mutable std::unique_ptr<InMemoryRecipients> recipients_;
    mutable std::unique_ptr<InMemoryAttachments> attachments_;
    mutable std::unique_ptr<InMemoryLinks> links_;
    std::optional<RecurrencePattern> pattern_;
    EventSource<bool&> send_;
};

} // namespace velmora::host

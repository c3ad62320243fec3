// One item of the in-memory host.
// Derived properties are rewritten on every change, so reads and filters see them as stored.
#include "platform/host/InMemoryItem.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryFolder.h"
#include "platform/host/InMemoryItems.h"
#include "platform/host/ItemCollections.h"
#include "platform/host/ItemKeeper.h"
#include "platform/host/PropertyCatalog.h"
#include "platform/text/AsciiText.h"
#include "platform/text/UnicodeText.h"

#include <bit>

namespace velmora::host {

namespace {

using namespace std::chrono;

enum ExplicitBits : unsigned {
    kFullName = 1,
    kFileAs = InMemoryItem::explicitFileAs,
    kBusinessAddress = 4,
    kHomeAddress = 8,
    kOtherAddress = 16
};

const char* kindName(int type) {
    static const char* const names[] = {"mail",    "appointment", "contact", "task",
                                        "journal", "note",        "post"};
    return type >= 0 && type <= olPostItem ? names[type] : "unknown";
}

int classOf(int type) {
    static const int classes[] = {olMail,    olAppointment, olContact, olTask,
                                  olJournal, olNote,        olPost};
    return classes[type];
}

const char* messageClassOf(int type) {
    static const char* const classes[] = {"IPM.Note", "IPM.Appointment", "IPM.Contact",
                                          "IPM.Task", "IPM.Activity",    "IPM.StickyNote",
                                          "IPM.Post"};
    return classes[type];
}

[[noreturn]] void unsupported(std::string_view member, int type) {
    throw HostError("Object doesn't support this property or method: \"" + std::string(member) +
                    "\" (" + kindName(type) + " item)");
}

std::string joinNonEmpty(std::initializer_list<std::string_view> parts, const char* separator) {
    std::string out;
    for (auto p : parts) {
        const auto t = text::trim(p);
        if (t.empty()) continue;
        if (!out.empty()) out += separator;
        out += t;
    }
    return out;
}

} // namespace

std::shared_ptr<InMemoryItem> InMemoryItem::create(const std::shared_ptr<HostCore>& core,
                                                   int itemType,
                                                   const std::shared_ptr<InMemoryFolder>& target) {
    if (itemType < olMailItem || itemType > olPostItem)
        throw HostError(std::to_string(itemType) + " is not an item type (0 to 6)");
    auto item = std::make_shared<InMemoryItem>(core, itemType);
    item->target_ = target;
    const DateTime now = core->now();
    item->put(pCreationTime, now);
    if (itemType == olAppointmentItem) {
        // A new appointment starts at the next half hour and lasts half an hour.
        const auto start = ceil<minutes>(now);
        const auto half = minutes{30};
        const auto rounded =
            DateTime{((start.time_since_epoch() + half - minutes{1}) / half) * half};
        item->put(pStart, rounded);
        item->put(pEnd, rounded + half);
        item->put(pDuration, 30L);
    } else if (itemType == olJournalItem) {
        item->put(pStart, now);
        item->put(pEnd, now);
    }
    return item;
}

InMemoryItem::InMemoryItem(std::weak_ptr<HostCore> core, int itemType)
    : host_(std::move(core)), type_(itemType) {
    put(pClass, static_cast<long>(classOf(itemType)));
    put(pMessageClass, std::string(messageClassOf(itemType)));
}

InMemoryItem::~InMemoryItem() = default;

std::shared_ptr<InMemoryItem> InMemoryItem::self() {
    return std::static_pointer_cast<InMemoryItem>(shared_from_this());
}

void InMemoryItem::checkAlive(const char* member) const {
    if (gone_)
        throw HostError(std::string("The item has been deleted; ") + member + " is not possible");
}

bool InMemoryItem::holds(int slot) const {
    const auto bit = static_cast<std::size_t>(slot);
    return (present_[bit / 64] >> (bit % 64) & 1U) != 0;
}

std::size_t InMemoryItem::position(int slot) const {
    const auto bit = static_cast<std::size_t>(slot);
    std::size_t below = 0;
    for (std::size_t word = 0; word < bit / 64; ++word)
        below += static_cast<std::size_t>(std::popcount(present_[word]));
    const std::uint64_t lower = (std::uint64_t{1} << (bit % 64)) - 1;
    return below + static_cast<std::size_t>(std::popcount(present_[bit / 64] & lower));
}

void InMemoryItem::complete() const {
    partial_ = false;
    auto c = host_.weak().lock();
    // Items are only ever made through make_shared as non-const objects, so the keeper may
    // fill in what a const read asked for.
    if (c && c->keeper()) c->keeper()->complete(const_cast<InMemoryItem&>(*this));
}

const Variant& InMemoryItem::field(int slot) const {
    if (partial_ && (slot == pBody || slot == pHTMLBody)) complete();
    if (!holds(slot)) return PropertyCatalog::instance().def(slot).initial;
    return values_[position(slot)];
}

void InMemoryItem::put(int slot, Variant value) {
    std::erase_if(folded_, [slot](const auto& entry) { return entry.first == slot; });
    const std::size_t at = position(slot);
    if (holds(slot)) {
        values_[at] = std::move(value);
        return;
    }
    const auto bit = static_cast<std::size_t>(slot);
    present_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    values_.insert(values_.begin() + static_cast<std::ptrdiff_t>(at), std::move(value));
}

const std::string& InMemoryItem::foldedText(int slot) const {
    for (const auto& [at, text] : folded_)
        if (at == slot) return text;
    const std::string* value = std::get_if<std::string>(&field(slot));
    folded_.emplace_back(slot, value ? text::foldCase(*value) : std::string());
    return folded_.back().second;
}

void InMemoryItem::prefetch() const {
    __builtin_prefetch(values_.data());
}

void InMemoryItem::setEntryId(const std::string& id) {
    put(pEntryID, id);
}

int InMemoryItem::Class() const {
    host_.live("Item.Class");
    return classOf(type_);
}

std::string InMemoryItem::EntryID() const {
    host_.live("Item.EntryID");
    return std::get<std::string>(field(pEntryID));
}

Variant InMemoryItem::Get(std::string_view property) const {
    HostCore& c = host_.live("Item.Get");
    const auto& catalog = PropertyCatalog::instance();
    const int slot = catalog.find(property);
    if (slot < 0 || !catalog.applies(slot, type_)) unsupported(property, type_);
    c.check("Item.Get", catalog.def(slot).name);
    return field(slot);
}

void InMemoryItem::Set(std::string_view property, const Variant& value) {
    auto c = host_.use("Item.Set");
    const auto& catalog = PropertyCatalog::instance();
    const int slot = catalog.find(property);
    if (slot < 0 || !catalog.applies(slot, type_)) unsupported(property, type_);
    const PropertyDef& def = catalog.def(slot);
    c->check("Item.Set", def.name);
    // A note's subject is the first line of its body, as in the host's own notes.
    if (def.readOnly || (type_ == olNoteItem && slot == pSubject))
        throw HostError("Property \"" + def.name + "\" is read-only");
    checkAlive("Set");
    applySet(slot, value);
}

void InMemoryItem::applySet(int slot, const Variant& value) {
    if (partial_) complete();
    const PropertyDef& def = PropertyCatalog::instance().def(slot);
    Variant coerced;
    try {
        switch (def.type) {
        case PropType::Text:
            coerced = variantText(value);
            break;
        case PropType::Number:
            coerced = variantNumber(value);
            break;
        case PropType::Flag:
            coerced = variantFlag(value);
            break;
        case PropType::Date:
            if (!std::holds_alternative<std::monostate>(value)) coerced = variantDate(value);
            break;
        }
    } catch (const HostError& e) {
        throw HostError("Cannot set \"" + def.name + "\": " + e.what());
    }
    auto range = [&](long low, long high) {
        const long n = std::get<long>(coerced);
        if (n < low || n > high)
            throw HostError("Cannot set \"" + def.name + "\": " + std::to_string(n) +
                            " is outside " + std::to_string(low) + " to " + std::to_string(high));
    };
    if (slot == pImportance)
        range(olImportanceLow, olImportanceHigh);
    else if (slot == pStatus)
        range(0, 4);
    else if (slot == pPercentComplete)
        range(0, 100);
    else if (slot == pDuration || slot == pReminderMinutesBeforeStart)
        range(0, 1L << 30);
    if (slot == pEnd && std::holds_alternative<DateTime>(coerced)) {
        const auto* start = std::get_if<DateTime>(&field(pStart));
        if (start && std::get<DateTime>(coerced) < *start)
            throw HostError("Cannot set \"End\": it lies before the start " + variantText(*start));
    }

    const Variant oldStart = field(pStart);
    put(slot, std::move(coerced));
    if (type_ == olContactItem)
        deriveContact(slot);
    else if (type_ == olAppointmentItem || type_ == olJournalItem) {
        if (slot == pStart) {
            // Moving the start keeps the length, as the host's calendar does.
            const auto* s = std::get_if<DateTime>(&field(pStart));
            const auto* was = std::get_if<DateTime>(&oldStart);
            const auto* end = std::get_if<DateTime>(&field(pEnd));
            if (s) {
                const auto length = (was && end) ? *end - *was : seconds{minutes{30}};
                put(pEnd, *s + length);
            }
        }
        deriveAppointment(slot);
    } else if (type_ == olNoteItem && slot == pBody) {
        const std::string& body = std::get<std::string>(field(pBody));
        put(pSubject, body.substr(0, body.find_first_of("\r\n")));
    }
}

void InMemoryItem::deriveContact(int changed) {
    auto str = [this](int slot) -> const std::string& {
        return std::get<std::string>(field(slot));
    };
    if (changed == pFullName) {
        // The host splits a full name into its parts: first word, middle words, last word.
        const std::string full(text::trim(str(pFullName)));
        std::vector<std::string> words;
        for (std::size_t i = 0; i < full.size();) {
            const auto end = full.find(' ', i);
            const auto word =
                full.substr(i, end == std::string::npos ? std::string::npos : end - i);
            if (!word.empty()) words.push_back(word);
            if (end == std::string::npos) break;
            i = end + 1;
        }
        std::string middle;
        for (std::size_t i = 1; i + 1 < words.size(); ++i)
            middle += (middle.empty() ? "" : " ") + words[i];
        put(pFirstName, words.empty() ? std::string() : words.front());
        put(pMiddleName, middle);
        put(pLastName, words.size() > 1 ? words.back() : std::string());
        if (full.empty())
            explicitDerived_ &= ~kFullName;
        else
            explicitDerived_ |= kFullName;
    } else if (changed == pFirstName || changed == pMiddleName || changed == pLastName) {
        explicitDerived_ &= ~kFullName;
    } else if (changed == pFileAs) {
        if (text::trim(str(pFileAs)).empty())
            explicitDerived_ &= ~kFileAs;
        else
            explicitDerived_ |= kFileAs;
    }
    if (!(explicitDerived_ & kFullName))
        put(pFullName, joinNonEmpty({str(pFirstName), str(pMiddleName), str(pLastName)}, " "));
    if (!(explicitDerived_ & kFileAs)) {
        const std::string& first = str(pFirstName);
        const std::string& last = str(pLastName);
        std::string fileAs = joinNonEmpty({last, first}, ", ");
        if (fileAs.empty()) fileAs = str(pCompanyName);
        put(pFileAs, fileAs);
    }
    const int bases[] = {pBusinessAddress, pHomeAddress, pOtherAddress};
    const unsigned bits[] = {kBusinessAddress, kHomeAddress, kOtherAddress};
    for (int i = 0; i < 3; ++i) {
        const int base = bases[i];
        if (changed == base) {
            if (text::trim(str(base)).empty())
                explicitDerived_ &= ~bits[i];
            else
                explicitDerived_ |= bits[i];
        }
        if (explicitDerived_ & bits[i]) continue;
        // Parts: Street, City, State, PostalCode, Country, PostOfficeBox follow the full text.
        const std::string cityLine =
            joinNonEmpty({str(base + 2), str(base + 3), str(base + 4)}, " ");
        put(base, joinNonEmpty({str(base + 6), str(base + 1), cityLine, str(base + 5)}, "\n"));
    }
}

void InMemoryItem::deriveAppointment(int changed) {
    const auto* start = std::get_if<DateTime>(&field(pStart));
    const auto* end = std::get_if<DateTime>(&field(pEnd));
    if (changed == pDuration && start) {
        put(pEnd, *start + minutes{std::get<long>(field(pDuration))});
        end = std::get_if<DateTime>(&field(pEnd));
    }
    if (changed == pAllDayEvent && std::get<bool>(field(pAllDayEvent)) && start) {
        const DateTime day{floor<days>(*start)};
        DateTime last = end ? DateTime{ceil<days>(*end)} : day;
        if (last <= day) last = day + days{1};
        put(pStart, day);
        put(pEnd, last);
        start = std::get_if<DateTime>(&field(pStart));
        end = std::get_if<DateTime>(&field(pEnd));
    }
    if (start && end)
        put(pDuration, static_cast<long>(duration_cast<minutes>(*end - *start).count()));
}

void InMemoryItem::recipientsChanged() {
    if (type_ != olMailItem) return;
    std::string lines[4];
    for (const Recipient& r : recipientList()->all()) {
        std::string& line = lines[r.Type];
        if (!line.empty()) line += "; ";
        line += text::trim(r.Name).empty() ? r.Address : r.Name;
    }
    put(pTo, lines[olTo]);
    put(pCC, lines[olCC]);
    put(pBCC, lines[olBCC]);
}

long InMemoryItem::contentSize() const {
    long size = 256;
    for (int slot : {pSubject, pBody, pHTMLBody})
        if (const auto* s = std::get_if<std::string>(&field(slot)))
            size += static_cast<long>(s->size());
    if (attachments_) size += attachments_->totalBytes();
    return size;
}

void InMemoryItem::stampSaved() {
    put(pLastModificationTime, core()->now());
    put(pSize, contentSize());
}

void InMemoryItem::Save() {
    auto c = host_.use("Item.Save");
    checkAlive("Save");
    auto folder = home();
    if (!folder) {
        folder = target_.lock();
        if (!folder) folder = c->homeFolderFor(type_);
        stampSaved();
        setEntryId(c->storedEntryId(*this, *folder, ""));
        home_ = folder;
        folder->items()->insert(self());
        c->index(self());
        c->raise(folder->items()->ItemAdd(), self());
        return;
    }
    stampSaved();
    if (c->keeper()) c->keeper()->saved(*this);
    folder->items()->touch();
    // A Save from inside this item's own ItemChange handler does not raise the event again.
    if (raisingChange_) return;
    raisingChange_ = true;
    try {
        c->raise(folder->items()->ItemChange(), self());
    } catch (...) {
        raisingChange_ = false;
        throw;
    }
    raisingChange_ = false;
}

void InMemoryItem::moveTo(const std::shared_ptr<InMemoryFolder>& target) {
    auto c = core();
    const std::string oldId = std::get<std::string>(field(pEntryID));
    std::string newId = c->storedEntryId(*this, *target, oldId);
    if (auto from = home()) from->items()->remove(this);
    if (!oldId.empty()) c->unindex(oldId);
    setEntryId(newId);
    home_ = target;
    target->items()->insert(self());
    c->index(self());
    c->raise(target->items()->ItemAdd(), self());
}

void InMemoryItem::Delete() {
    auto c = host_.use("Item.Delete");
    checkAlive("Delete");
    auto folder = home();
    if (!folder) { // never saved: nothing to move
        gone_ = true;
        return;
    }
    auto bin = c->deletedItemsOf(folder->storeId());
    if (!bin || bin == folder) {
        if (c->keeper()) c->keeper()->removed(*this);
        folder->items()->remove(this);
        c->unindex(std::get<std::string>(field(pEntryID)));
        home_.reset();
        gone_ = true;
        return;
    }
    moveTo(bin);
}

std::shared_ptr<Folder> InMemoryItem::Parent() const {
    auto c = host_.use("Item.Parent");
    if (auto folder = home()) return folder;
    if (gone_) return nullptr;
    if (auto target = target_.lock()) return target;
    return c->homeFolderFor(type_);
}

void InMemoryItem::Display() {
    auto c = host_.use("Item.Display");
    checkAlive("Display");
    if (c->onDisplay) c->onDisplay(self());
    if (c->watchDisplay) c->watchDisplay(self());
}

Recipients& InMemoryItem::Recipients() {
    host_.use("Item.Recipients");
    auto* list = recipientList();
    if (!list) unsupported("Recipients", type_);
    return *list;
}

Attachments& InMemoryItem::Attachments() {
    host_.use("Item.Attachments");
    auto* list = attachmentList();
    if (!list) unsupported("Attachments", type_);
    if (partial_) complete();
    return *list;
}

Links& InMemoryItem::Links() {
    host_.use("Item.Links");
    return linkList();
}

RecurrencePattern InMemoryItem::GetRecurrencePattern() const {
    host_.use("Item.GetRecurrencePattern");
    if (type_ != olAppointmentItem && type_ != olTaskItem)
        unsupported("GetRecurrencePattern", type_);
    if (pattern_) return *pattern_;
    RecurrencePattern fresh;
    if (const auto* start = std::get_if<DateTime>(&field(pStart))) fresh.PatternStartDate = *start;
    return fresh;
}

void InMemoryItem::SetRecurrencePattern(const RecurrencePattern& p) {
    host_.use("Item.SetRecurrencePattern");
    if (type_ != olAppointmentItem && type_ != olTaskItem)
        unsupported("SetRecurrencePattern", type_);
    checkAlive("SetRecurrencePattern");
    const int t = p.RecurrenceType;
    if (t != olRecursDaily && t != olRecursWeekly && t != olRecursMonthly &&
        t != olRecursMonthNth && t != olRecursYearly && t != olRecursYearNth)
        throw HostError("Invalid recurrence type " + std::to_string(t));
    if (p.Interval < 1)
        throw HostError("A recurrence interval must be 1 or more, not " +
                        std::to_string(p.Interval));
    if (p.DayOfWeekMask < 0 || p.DayOfWeekMask > 127)
        throw HostError("Invalid day-of-week mask " + std::to_string(p.DayOfWeekMask));
    if (t == olRecursWeekly && p.DayOfWeekMask == 0)
        throw HostError("A weekly recurrence needs at least one day of the week");
    if (p.DayOfMonth < 0 || p.DayOfMonth > 31 || p.MonthOfYear < 0 || p.MonthOfYear > 12 ||
        p.Instance < 0 || p.Instance > 5 || p.Occurrences < 0)
        throw HostError("Invalid recurrence day, month, instance or occurrence count");
    if (!p.NoEndDate && p.Occurrences == 0 && p.PatternEndDate < p.PatternStartDate)
        throw HostError("The recurrence ends before it starts");
    pattern_ = p;
    put(pIsRecurring, true);
}

void InMemoryItem::ClearRecurrencePattern() {
    host_.use("Item.ClearRecurrencePattern");
    if (type_ != olAppointmentItem && type_ != olTaskItem)
        unsupported("ClearRecurrencePattern", type_);
    checkAlive("ClearRecurrencePattern");
    pattern_.reset();
    put(pIsRecurring, false);
}

// Items are only ever made through make_shared as non-const objects, so a const read may make
// the collection it asks for.
InMemoryRecipients* InMemoryItem::recipientList() const {
    if (type_ != olMailItem && type_ != olAppointmentItem && type_ != olTaskItem) return nullptr;
    if (!recipients_)
        recipients_ = std::make_unique<InMemoryRecipients>(const_cast<InMemoryItem&>(*this));
    return recipients_.get();
}

InMemoryAttachments* InMemoryItem::attachmentList() const {
    if (type_ == olNoteItem) return nullptr;
    if (!attachments_) attachments_ = std::make_unique<InMemoryAttachments>(host_.weak());
    return attachments_.get();
}

InMemoryLinks& InMemoryItem::linkList() const {
    if (!links_) links_ = std::make_unique<InMemoryLinks>(const_cast<InMemoryItem&>(*this));
    return *links_;
}

void InMemoryItem::restorePattern(const std::optional<RecurrencePattern>& pattern) {
    pattern_ = pattern;
    put(pIsRecurring, pattern_.has_value());
}

void InMemoryItem::Send() {
    auto c = host_.use("Item.Send");
    if (type_ != olMailItem) unsupported("Send", type_);
    checkAlive("Send");
    if (std::get<bool>(field(pSent))) throw HostError("This mail has already been sent");
    auto outbox = c->defaultFolder(olFolderOutbox);
    if (home() == outbox) throw HostError("This mail is already in the Outbox, waiting to be sent");
    if (recipientList()->all().empty())
        throw HostError("There must be at least one name in the To, Cc or Bcc box");
    bool cancel = false;
    c->raise(send_, cancel);
    if (cancel) return;
    stampSaved();
    moveTo(outbox);
}

} // namespace velmora::host

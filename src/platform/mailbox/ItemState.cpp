// An item's state as bytes: a version, then each held property as slot, type and value, then
// the collections. Compact and quick to read back, since a warm mailbox opens from it.
#include "platform/mailbox/ItemState.h"

#include "platform/host/InMemoryItem.h"
#include "platform/host/ItemCollections.h"
#include "platform/host/PropertyCatalog.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace velmora::mailbox {

namespace {

using namespace velmora::host;

constexpr std::uint8_t kVersion = 2;

class Writer {
  public:
    void number(long long n) { raw(&n, sizeof n); }
    void text(std::string_view s) {
        number(static_cast<long long>(s.size()));
        out_.append(s);
    }
    std::string take() { return std::move(out_); }

  private:
    void raw(const void* p, std::size_t n) { out_.append(static_cast<const char*>(p), n); }
    std::string out_;
};

class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) {}
    long long number() {
        long long n = 0;
        need(sizeof n);
        std::memcpy(&n, in_.data() + at_, sizeof n);
        at_ += sizeof n;
        return n;
    }
    int small() { return static_cast<int>(number()); }
    // A count of elements that follow, each at least one byte: a damaged count fails here
    // instead of asking for memory it cannot have.
    std::size_t count() {
        const long long n = number();
        if (n < 0 || static_cast<std::size_t>(n) > in_.size() - at_)
            throw std::runtime_error("the item state is damaged");
        return static_cast<std::size_t>(n);
    }
    std::string text() {
        const auto n = number();
        if (n < 0) throw std::runtime_error("the item state is damaged");
        need(static_cast<std::size_t>(n));
        std::string s(in_.substr(at_, static_cast<std::size_t>(n)));
        at_ += static_cast<std::size_t>(n);
        return s;
    }
    bool done() const { return at_ == in_.size(); }

  private:
    void need(std::size_t n) const {
        if (in_.size() - at_ < n) throw std::runtime_error("the item state is cut short");
    }
    std::string_view in_;
    std::size_t at_ = 0;
};

enum Tag : int { kEmpty, kFlag, kNumber, kReal, kText, kDate };

void writeValue(Writer& w, const Variant& v) {
    if (const auto* b = std::get_if<bool>(&v)) {
        w.number(kFlag);
        w.number(*b ? 1 : 0);
    } else if (const auto* n = std::get_if<long>(&v)) {
        w.number(kNumber);
        w.number(*n);
    } else if (const auto* d = std::get_if<double>(&v)) {
        w.number(kReal);
        long long bits = 0;
        std::memcpy(&bits, d, sizeof bits);
        w.number(bits);
    } else if (const auto* s = std::get_if<std::string>(&v)) {
        w.number(kText);
        w.text(*s);
    } else if (const auto* t = std::get_if<DateTime>(&v)) {
        w.number(kDate);
        w.number(t->time_since_epoch().count());
    } else {
        w.number(kEmpty);
    }
}

Variant readValue(Reader& r) {
    switch (r.small()) {
    case kEmpty:
        return {};
    case kFlag:
        return r.number() != 0;
    case kNumber:
        return static_cast<long>(r.number());
    case kReal: {
        const long long bits = r.number();
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    case kText:
        return r.text();
    case kDate:
        return DateTime{std::chrono::seconds{r.number()}};
    default:
        throw std::runtime_error("the item state holds an unknown value type");
    }
}

bool fileHoldsIt(const InMemoryItem& item, int slot) {
    return item.itemType() == olMailItem && (slot == pBody || slot == pHTMLBody);
}

} // namespace

std::string saveItemState(const InMemoryItem& item) {
    Writer w;
    w.number(kVersion);
    w.number(item.itemType());
    w.number(item.explicitDerived());
    long long held = 0;
    for (int slot = 0; slot < pPropCount; ++slot)
        held += item.holds(slot) && !fileHoldsIt(item, slot) ? 1 : 0;
    w.number(held);
    for (int slot = 0; slot < pPropCount; ++slot) {
        if (!item.holds(slot) || fileHoldsIt(item, slot)) continue;
        w.number(slot);
        writeValue(w, item.field(slot));
    }
    const auto* recipients = item.recipientList();
    w.number(recipients ? static_cast<long long>(recipients->all().size()) : 0);
    if (recipients)
        for (const Recipient& r : recipients->all()) {
            w.text(r.Name);
            w.text(r.Address);
            w.number(r.Type);
        }
    const auto* attachments = item.attachmentList();
    const bool keepAttachments = attachments && item.itemType() != olMailItem;
    w.number(keepAttachments ? static_cast<long long>(attachments->all().size()) : 0);
    if (keepAttachments)
        for (const auto& a : attachments->all()) {
            w.text(a->FileName());
            w.text(a->content());
        }
    const auto& links = item.linkList().all();
    w.number(static_cast<long long>(links.size()));
    for (const std::string& id : links)
        w.text(id);
    const auto& pattern = item.pattern();
    w.number(pattern ? 1 : 0);
    if (pattern) {
        const RecurrencePattern& p = *pattern;
        for (int n : {p.RecurrenceType, p.Interval, p.DayOfWeekMask, p.DayOfMonth, p.Instance,
                      p.MonthOfYear, p.NoEndDate ? 1 : 0, p.Occurrences})
            w.number(n);
        w.number(p.PatternStartDate.time_since_epoch().count());
        w.number(p.PatternEndDate.time_since_epoch().count());
    }
    return w.take();
}

std::optional<int> itemTypeOfState(std::string_view state) {
    try {
        Reader r(state);
        if (r.small() != kVersion) return std::nullopt;
        const int type = r.small();
        if (type < olMailItem || type > olPostItem) return std::nullopt;
        return type;
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

void restoreItemState(InMemoryItem& item, std::string_view state) {
    Reader r(state);
    if (r.small() != kVersion) throw std::runtime_error("the item state is of another version");
    if (r.small() != item.itemType()) throw std::runtime_error("the item state is of another kind");
    item.restoreExplicitDerived(static_cast<unsigned>(r.number()));
    const std::size_t held = r.count();
    item.reserveFields(held + 4);
    for (std::size_t i = 0; i < held; ++i) {
        const int slot = r.small();
        if (slot < 0 || slot >= pPropCount) throw std::runtime_error("the item state is damaged");
        item.put(slot, readValue(r));
    }
    std::vector<Recipient> recipients(r.count());
    for (Recipient& one : recipients) {
        one.Name = r.text();
        one.Address = r.text();
        one.Type = r.small();
    }
    if (!recipients.empty()) item.recipientList()->restore(std::move(recipients));
    const std::size_t attachmentCount = r.count();
    std::vector<std::shared_ptr<InMemoryAttachment>> attachments;
    for (std::size_t i = 0; i < attachmentCount; ++i) {
        std::string name = r.text();
        attachments.push_back(std::make_shared<InMemoryAttachment>(
            item.core(), std::move(name), r.text(), static_cast<int>(i) + 1));
    }
    if (auto* list = item.attachmentList(); list && !attachments.empty())
        list->restore(std::move(attachments));
    std::vector<std::string> links(r.count());
    for (std::string& id : links)
        id = r.text();
    if (!links.empty()) item.linkList().restore(std::move(links));
    if (r.number() != 0) {
        RecurrencePattern p;
        for (int* n : {&p.RecurrenceType, &p.Interval, &p.DayOfWeekMask, &p.DayOfMonth, &p.Instance,
                       &p.MonthOfYear})
            *n = r.small();
        p.NoEndDate = r.number() != 0;
        p.Occurrences = r.small();
        p.PatternStartDate = DateTime{std::chrono::seconds{r.number()}};
        p.PatternEndDate = DateTime{std::chrono::seconds{r.number()}};
        item.restorePattern(p);
    }
    if (!r.done()) throw std::runtime_error("the item state has bytes left over");
}

} // namespace velmora::mailbox

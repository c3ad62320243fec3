// Fuzz target for the host's item filter texts: parses each input for one item kind and evaluates
// what parsed over items of every kind, so the parser and the evaluator both see hostile text.
#include "platform/host/DateText.h"
#include "platform/host/FilterExpression.h"
#include "platform/host/InMemoryHost.h"
#include "platform/host/InMemoryItem.h"
#include "platform/host/PropertyCatalog.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace velmora::host;

namespace {

// Items of each kind: two with every property of their kind set (texts in Chinese, with quotes,
// letter cases to fold; dates with seconds) and one with nothing set.
class SampleItems {
  public:
    SampleItems() {
        static const std::array<std::string, 7> texts = {
            "季度报告", "Hi \"there\"", "o'neil", "ann@example.com", "", "MÜLLER Straße", "Plans"};
        static const std::array<long, 4> numbers = {0, 1, 2, -1};
        const auto& catalog = PropertyCatalog::instance();
        for (int kind = olMailItem; kind <= olPostItem; ++kind) {
            for (std::size_t variant = 0; variant < 3; ++variant) {
                auto item =
                    std::dynamic_pointer_cast<InMemoryItem>(host_.application().CreateItem(kind));
                for (int slot = 0; variant < 2 && slot < pPropCount; ++slot) {
                    if (!catalog.applies(slot, kind)) continue;
                    const auto pick = static_cast<std::size_t>(slot) + variant;
                    switch (catalog.def(slot).type) {
                    case PropType::Text:
                        item->put(slot, texts[pick % texts.size()]);
                        break;
                    case PropType::Number:
                        item->put(slot, numbers[pick % numbers.size()]);
                        break;
                    case PropType::Flag:
                        item->put(slot, pick % 2 == 0);
                        break;
                    case PropType::Date:
                        item->put(slot, makeDate(2024, 1 + static_cast<int>(pick % 12), 28, 9,
                                                 static_cast<int>(pick % 60), 30));
                        break;
                    }
                }
                items_.push_back(std::move(item));
            }
        }
    }
    const std::vector<std::shared_ptr<InMemoryItem>>& all() const { return items_; }

  private:
    InMemoryHost host_{false, false};
    std::vector<std::shared_ptr<InMemoryItem>> items_;
};

// What a parsed filter selects among the items, one bit per item.
std::vector<bool> selection(const FilterExpression& filter, const SampleItems& items) {
    std::vector<bool> out;
    out.reserve(items.all().size());
    for (const auto& item : items.all())
        out.push_back(filter.matches(*item));
    return out;
}

[[noreturn]] void finding(const char* what, const std::string& filter) {
    std::fprintf(stderr, "%s: %s\n", what, filter.c_str());
    std::abort();
}

} // namespace

// The first byte names the item kind when it is a digit 0 to 6 (mail, appointment, contact,
// task, journal, note, post); any other input is a mail filter as a whole.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const SampleItems items;
    std::string filter(reinterpret_cast<const char*>(data), size);
    int kind = olMailItem;
    if (!filter.empty() && filter[0] >= '0' && filter[0] <= '0' + olPostItem) {
        kind = filter[0] - '0';
        filter.erase(0, 1);
    }
    std::shared_ptr<const FilterExpression> parsed;
    try {
        parsed = FilterParser::parse(filter, kind);
    } catch (const HostError&) {
        return 0; // a refused filter, described for the user
    }
    const std::vector<bool> selected = selection(*parsed, items);
    // Or binds loosest, so "F Or F" selects what F does; and so does F and'ed with itself.
    try {
        if (selection(*FilterParser::parse(filter + " Or " + filter, kind), items) != selected)
            finding("the filter or'ed with itself selects otherwise", filter);
    } catch (const HostError&) {
        finding("the filter or'ed with itself is refused", filter);
    }
    if (selection(*FilterExpression::conjunction(*parsed, *parsed), items) != selected)
        finding("the filter and'ed with itself selects otherwise", filter);
    return 0;
}

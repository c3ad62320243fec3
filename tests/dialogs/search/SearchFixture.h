// A test session with a search dialog shown over a caller's candidate list, and helpers that
// make contacts and appointments at a given time and run a search as the user would.
#pragma once

#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/EntryControls.h"
#include "platform/controls/Form.h"
#include "platform/controls/ListView.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <map>
#include <string>
#include <vector>

namespace velmora::testing {

// The fixed "today" of the tests: Wednesday 2026-04-01 (the first of a month, mid-week).
inline host::DateTime fixedNow() {
    return host::makeDate(2026, 4, 1, 15, 30);
}

inline host::ItemPtr makeItem(TestSession& s, int type,
                              const std::map<std::string, host::Variant>& properties,
                              host::DateTime created = fixedNow()) {
    s.clock.set(created);
    host::ItemPtr item = s.host.application().CreateItem(type);
    for (const auto& [name, value] : properties)
        item->Set(name, value);
    item->Save();
    s.clock.set(fixedNow());
    return item;
}

// Types the words, chooses field, mode and (when given) time field and range, clicks Search,
// and answers the keys of the result rows in order.
inline std::vector<std::string> runSearch(controls::Form& form, const std::string& words, int field,
                                          int mode, int timeField = -1, int range = -1) {
    form.get<controls::TextBox>("searchWords").type(words);
    form.get<controls::ComboBox>("inBox").choose(field);
    form.get<controls::ComboBox>("comboVague").choose(mode);
    if (timeField >= 0) form.get<controls::ComboBox>("timeBox").choose(timeField);
    if (range >= 0) form.get<controls::ComboBox>("selectTime").choose(range);
    form.get<controls::CommandButton>("Search").click();
    std::vector<std::string> keys;
    for (const controls::ListItem* row :
         form.get<controls::ListView>("ListView").ListItems().rows())
        keys.push_back(row->Key());
    return keys;
}

// Sub-items 1 to 5 of a row joined with "|".
inline std::string rowTexts(const controls::ListItem& row) {
    std::string texts = row.SubItems(1);
    for (int i = 2; i <= 5; ++i)
        texts += "|" + row.SubItems(i);
    return texts;
}

inline std::vector<std::string> keysOf(std::initializer_list<host::ItemPtr> items) {
    std::vector<std::string> keys;
    for (const host::ItemPtr& item : items)
        keys.push_back(item->EntryID());
    return keys;
}

} // namespace velmora::testing

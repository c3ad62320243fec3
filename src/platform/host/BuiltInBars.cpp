// The host's built-in command bars and controls.
// Menu order matters: the add-in puts its popup before position 6, just after "Tools".
#include "platform/host/InMemoryCommandBars.h"

#include "platform/host/InMemoryCommandBarControl.h"

#include <initializer_list>
#include <vector>

namespace velmora::host {

namespace {

struct Entry {
    BuiltInControl control;
    std::vector<int> children; // ids of the popup's entries
};

const std::vector<Entry>& catalogue() {
    static const std::vector<Entry> entries = {
        // explorer menus
        {{30002, msoControlPopup, "&File"}, {1887, 748, 4, 752}},
        {{30003, msoControlPopup, "&Edit"}, {128, 21, 19, 22, 478}},
        {{30004, msoControlPopup, "&View"}, {1719, 5598}},
        {{30017, msoControlPopup, "F&avorites"}, {1678}},
        {{kIdToolsMenu, msoControlPopup, "&Tools"}, {kIdSendReceive, 353, kIdFind, 522}},
        {{30131, msoControlPopup, "&Actions"}, {354, 355, 356}},
        {{30010, msoControlPopup, "&Help"}, {984}},
        // buttons
        {{1887, msoControlButton, "&New"}, {}},
        {{748, msoControlButton, "Save &As..."}, {}},
        {{4, msoControlButton, "&Print..."}, {}},
        {{752, msoControlButton, "E&xit"}, {}},
        {{128, msoControlButton, "&Undo"}, {}},
        {{21, msoControlButton, "Cu&t"}, {}},
        {{19, msoControlButton, "&Copy"}, {}},
        {{22, msoControlButton, "&Paste"}, {}},
        {{478, msoControlButton, "&Delete"}, {}},
        {{1719, msoControlButton, "Folder &List"}, {}},
        {{5598, msoControlButton, "Op&tions..."}, {}},
        {{1678, msoControlButton, "&Add to Favorites..."}, {}},
        {{kIdSendReceive, msoControlButton, "Send/Re&ceive"}, {}},
        {{353, msoControlButton, "Address &Book..."}, {}},
        {{kIdFind, msoControlButton, "Fin&d"}, {}},
        {{522, msoControlButton, "&Options..."}, {}},
        {{354, msoControlButton, "&Reply"}, {}},
        {{355, msoControlButton, "Reply to A&ll"}, {}},
        {{356, msoControlButton, "For&ward"}, {}},
        {{984, msoControlButton, "Microsoft Outlook &Help"}, {}},
        {{1679, msoControlButton, "Mo&ve to Folder..."}, {}},
        {{5594, msoControlButton, "Organi&ze"}, {}},
        {{2617, msoControlButton, "&Send"}, {}},
        {{3, msoControlButton, "&Save"}, {}},
        {{361, msoControlButton, "Chec&k Names"}, {}},
        {{kIdInsertFile, msoControlButton, "&File..."}, {}},
        {{1077, msoControlButton, "Importance: &High"}, {}},
        {{1078, msoControlButton, "Importance: &Low"}, {}},
        {{30001, msoControlPopup, "&Insert"}, {kIdInsertFile}},
    };
    return entries;
}

const Entry* findEntry(int id) {
    for (const auto& e : catalogue())
        if (e.control.id == id) return &e;
    return nullptr;
}

void addBuiltIn(InMemoryCommandBarControls& into, const std::weak_ptr<HostCore>& core, int id,
                const std::set<int>& removed) {
    if (removed.count(id)) return;
    const Entry* e = findEntry(id);
    auto control =
        InMemoryCommandBarControl::create(core, e->control.type, id, e->control.caption, false);
    into.append(control);
    for (int child : e->children)
        addBuiltIn(*control->children(), core, child, removed);
}

void addAll(InMemoryCommandBarControls& into, const std::weak_ptr<HostCore>& core,
            std::initializer_list<int> ids, const std::set<int>& removed) {
    for (int id : ids)
        addBuiltIn(into, core, id, removed);
}

} // namespace

const BuiltInControl* findBuiltIn(int id) {
    const Entry* e = findEntry(id);
    return e ? &e->control : nullptr;
}

void buildExplorerBars(InMemoryCommandBars& bars, const std::weak_ptr<HostCore>& core,
                       const std::set<int>& removed) {
    addAll(bars.addBar("Menu Bar").controls(), core,
           {30002, 30003, 30004, 30017, kIdToolsMenu, 30131, 30010}, removed);
    addAll(bars.addBar("Standard").controls(), core,
           {1887, 4, 1679, 478, 354, 355, 356, kIdSendReceive, kIdFind, 5594, 353, 984}, removed);
}

void buildInspectorBars(InMemoryCommandBars& bars, const std::weak_ptr<HostCore>& core,
                        const std::set<int>& removed) {
    addAll(bars.addBar("Menu Bar").controls(), core,
           {30002, 30003, 30004, 30001, kIdToolsMenu, 30010}, removed);
    addAll(bars.addBar("Standard").controls(), core,
           {2617, 3, 4, 21, 19, 22, 353, 361, kIdInsertFile, 1077, 1078, 5598, 984}, removed);
}

} // namespace velmora::host

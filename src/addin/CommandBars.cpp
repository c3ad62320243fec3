// The add-in's command-bar controls. Controls are permanent, so every start finds the previous
// ones by tag and replaces them; captions follow the language chosen at connection.
#include "addin/CommandBars.h"

#include "store/ErrorTrap.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace velmora {

namespace {

host::CommandBar& explorerBar(AddinState& state, const std::string& name) {
    auto explorer = state.application().ActiveExplorer();
    if (!explorer) throw host::HostError("The host shows no explorer window");
    return explorer->CommandBars().Item(name);
}

// The face goes straight from the resource to the button; nothing is left on a clipboard.
void setFace(host::CommandBarControl& control, int resourceId) {
    control.SetStyle(host::msoButtonIconAndCaption);
    control.PasteFace(faceImage(resourceId));
}

std::string shareCaption(const AddinState& state, bool toolbar) {
    return say(state, {.english = toolbar ? "Share&&Attach to..." : "Share&&Attach...",
                       .chinese = "分享&&绑定..."});
}

std::string syncCaption(const AddinState& state, bool toolbar) {
    return say(state, {.english = toolbar ? "Sync velmora..." : "Sync Velmora...",
                       .chinese = "同步Velmora..."});
}

void addToolbarButton(AddinState& state, int position, const std::string& tag,
                      const std::string& caption, int resourceId) {
    auto& bar = explorerBar(state, "Standard");
    if (auto old = bar.FindControl(0, 0, tag)) old->Delete();
    if (auto twice = bar.FindControl(0, 0, tag)) {
        twice->Move(position);
        return;
    }
    host::ControlPtr button;
    ignoreErrors([&] { button = bar.Controls().Add(host::msoControlButton, 0, position); });
    if (!button) button = bar.Controls().Add(host::msoControlButton);
    button->SetCaption(caption);
    button->SetTag(tag);
    setFace(*button, resourceId);
}

} // namespace

std::string faceImage(int resourceId, const std::filesystem::path& programFolder) {
    const std::string name = std::to_string(resourceId) + ".xpm";
    std::vector<std::filesystem::path> folders;
    if (const char* data = std::getenv("VELMORA_DATA_DIR"); data && *data)
        folders.push_back(std::filesystem::path(data) / "faces");
    if (!programFolder.empty())
        folders.push_back((programFolder / VELMORA_DATA_FROM_PROGRAM / "faces").lexically_normal());
    folders.emplace_back(VELMORA_SOURCE_FACES);
    for (const auto& folder : folders)
        if (std::filesystem::is_regular_file(folder / name)) return (folder / name).string();
    return (folders.front() / name).string();
}

std::string faceImage(int resourceId) {
    std::error_code unknown; // without /proc the installed folder is simply not found
    return faceImage(resourceId,
                     std::filesystem::read_symlink("/proc/self/exe", unknown).parent_path());
}

bool emptyPopup(host::CommandBar& menuBar) {
    auto popup = menuBar.FindControl(host::msoControlPopup, 0, tagMenuBar);
    if (!popup) return false;
    bool failed = false;
    int count = 0;
    failed = !ignoreErrors([&] { count = popup->Controls().Count(); });
    for (int i = 0; i < count; ++i)
        if (!ignoreErrors([&] { popup->Controls().Item(1)->Delete(); })) failed = true;
    if (!failed) return true;
    ignoreErrors([&] { popup->Delete(); });
    return false;
}

void createPopup(AddinState& state) {
    auto& ns = state.application().GetNamespace("MAPI");
    auto explorer = ns.GetDefaultFolder(host::olFolderInbox)->GetExplorer();
    auto& bar = explorer->CommandBars().Item("Menu Bar");
    if (bar.FindControl(host::msoControlPopup, 0, tagMenuBar)) return;
    auto popup = bar.Controls().Add(host::msoControlPopup, 0, 6);
    popup->SetCaption("Velmora");
    popup->SetTag(tagMenuBar);
}

std::optional<MenuButtons> buildMenuPopup(AddinState& state) {
    std::optional<MenuButtons> built;
    errorTrap(state, "labelAddVelmoraMenuBar: ", [&] {
        auto* bar = &explorerBar(state, "Menu Bar");
        // A fresh install has no popup yet: it is made here, so the first start needs no
        // installation step of its own.
        if (!bar->FindControl(host::msoControlPopup, 0, tagMenuBar)) createPopup(state);
        auto popup = bar->FindControl(host::msoControlPopup, 0, tagMenuBar);
        if (!popup) return;
        if (!emptyPopup(*bar)) {
            createPopup(state);
            return;
        }
        popup = bar->FindControl(host::msoControlPopup, 0, tagMenuBar);
        popup->Move(6);
        MenuButtons buttons;
        buttons.shareAndAttach = popup->Controls().Add(host::msoControlButton);
        buttons.shareAndAttach->SetCaption(shareCaption(state, false));
        buttons.shareAndAttach->SetTag(tagShareAndAttach);
        setFace(*buttons.shareAndAttach, 104);
        buttons.syncVelmora = popup->Controls().Add(host::msoControlButton);
        buttons.syncVelmora->SetCaption(syncCaption(state, false));
        buttons.syncVelmora->SetTag(tagSyncVelmora);
        setFace(*buttons.syncVelmora, 103);
        buttons.about = popup->Controls().Add(host::msoControlButton);
        buttons.about->SetCaption(say(state, {.english = "About...", .chinese = "关于..."}));
        buttons.about->SetTag(tagAbout);
        buttons.about->SetBeginGroup(true);
        built = buttons;
    });
    return built;
}

int toolbarPosition(AddinState& state) {
    auto& controls = explorerBar(state, "Standard").Controls();
    int count = 0;
    const int total = controls.Count();
    for (int i = 1; i <= total; ++i) {
        auto control = controls.Item(i);
        if (!control->Visible()) continue;
        ++count;
        if (control->Id() == idFindButton) return count + 1;
    }
    return count + 1;
}

void addShareAndAttachToolbarButton(AddinState& state, int position) {
    addToolbarButton(state, position, tagShareAndAttach, shareCaption(state, true), 104);
}

void addSyncToolbarButton(AddinState& state, int position) {
    addToolbarButton(state, position, tagSyncVelmora, syncCaption(state, true), 103);
}

void showShareAndAttachControls(AddinState& state, bool visible) {
    if (auto button = explorerBar(state, "Standard").FindControl(0, 0, tagShareAndAttach))
        button->SetVisible(visible);
    auto popup = explorerBar(state, "Menu Bar").FindControl(host::msoControlPopup, 0, tagMenuBar);
    if (!popup) return;
    auto& entries = popup->Controls();
    const int count = entries.Count();
    for (int i = 1; i <= count; ++i) {
        auto entry = entries.Item(i);
        if (entry->Tag() != tagShareAndAttach) continue;
        entry->SetVisible(visible);
        return;
    }
}

std::optional<int> getMailAttachPositioin(const AddinState& state, host::Inspector& inspector) {
    // The result is returned, not assigned to a caller's variable from inside the trap: GCC 12
    // at -O2 drops the empty value such a variable starts with when the lookup throws.
    return errorTrapResult(state, "am3>", [&]() -> std::optional<int> {
        auto& controls = inspector.CommandBars().Item("Standard").Controls();
        const int count = controls.Count();
        for (int i = 1; i <= count; ++i)
            if (controls.Item(i)->Id() == idInsertFile) return i + 1;
        return std::nullopt;
    });
}

host::ControlPtr addInspectorAttachButton(AddinState& state, host::Inspector& inspector) {
    // Empty (no control 1074, or the lookup failed and said so): the button goes at the end.
    const std::optional<int> position = getMailAttachPositioin(state, inspector);
    auto& bar = inspector.CommandBars().Item("Standard");
    for (int pass = 0; pass < 2; ++pass)
        ignoreErrors([&] {
            if (auto stale = bar.FindControl(0, 0, tagAttach)) stale->Delete();
        });
    if (auto remaining = bar.FindControl(0, 0, tagAttach)) return remaining;
    auto button = bar.Controls().Add(host::msoControlButton, 0, position.value_or(0));
    button->SetCaption(say(state, {.english = "Attach", .chinese = "绑定"}));
    button->SetTooltipText(say(state, {.english = "&Attach", .chinese = "&绑定"}));
    button->SetTag(tagAttach);
    button->SetStyle(host::msoButtonIconAndCaption);
    button->SetState(host::msoButtonUp);
    button->PasteFace(faceImage(102));
    return button;
}

void removeInspectorAttachButton(host::Inspector& inspector) {
    ignoreErrors([&] {
        if (auto button = inspector.CommandBars().Item("Standard").FindControl(0, 0, tagAttach))
            button->Delete();
    });
}

} // namespace velmora

// The event hub's handlers. Item handlers pass the event filter, then let a link engine rewrite
// the item's rows; untagged handlers stay silent on failure, tagged ones report tag and text.
#include "addin/VelmoraMenu.h"

#include "addin/isSyncWindowOpen.h"
#include "links/AttachEmail.h"
#include "links/AttachEvent.h"
#include "links/attachNote.h"
#include "links/InstallPath.h"
#include "links/ItemLookup.h"
#include "store/ErrorTrap.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace velmora {

namespace {

// An item handler's failure reaches nobody else: the log keeps the handler, the item (as far as
// it can still be read) and the error, since a relink the user expected did not happen.
template <typename Body> void logFailure(std::string_view handler, host::Item& item, Body&& body) {
    try {
        body();
        return;
    } catch (...) {
        std::string what(handler);
        const std::string error = currentErrorText();
        try {
            what += ": \"" + item.Text(item.Class() == host::olContact ? "FullName" : "Subject") +
                    "\" (" + item.EntryID() + ")";
        } catch (...) {
            what += ": an item that cannot be read";
        }
        log::warn(what, error);
    }
}

bool sameFolder(const host::Folder& a, const host::Folder& b) {
    return a.EntryID() == b.EntryID() && a.StoreID() == b.StoreID();
}

} // namespace

VelmoraMenu::VelmoraMenu(AddinState& state) : state_(state), dialogs_(state) {}

readRegister& VelmoraMenu::settings() {
    if (!settings_) {
        if (!state_.platform.registry) throw std::runtime_error("The settings are not available");
        settings_ = std::make_unique<readRegister>(*state_.platform.registry);
    }
    return *settings_;
}

void VelmoraMenu::resetHistoryValue() {
    if (settings().GetHistoryValue() > 0) settings().SetKeyValue("HistoryValue", 0);
}

void VelmoraMenu::setColInsp(host::Inspectors& inspectors) {
    inspNew_ = inspectors.NewInspector().subscribe(
        [this](const host::InspectorPtr& inspector) { colInsp_newInspector(inspector); });
}

void VelmoraMenu::setColExpl(host::ExplorerPtr explorer) {
    colExpl_ = std::move(explorer);
    explClose_ = colExpl_->CloseEvent().subscribe([this] { colExpl_Close(); });
    explFolderSwitch_ = colExpl_->FolderSwitch().subscribe([this] { colExpl_FolderSwitch(); });
    explSelectionChange_ =
        colExpl_->SelectionChange().subscribe([this] { colExpl_SelectionChange(); });
}

void VelmoraMenu::watch(WatchedItems& watched, std::shared_ptr<host::Items> items,
                        ItemHandler onAdd, ItemHandler onChange) {
    watched.change.reset();
    watched.add.reset();
    watched.items = std::move(items);
    if (!watched.items) return;
    if (onAdd)
        watched.add = watched.items->ItemAdd().subscribe(
            [this, onAdd](const host::ItemPtr& item) { (this->*onAdd)(item); });
    if (onChange)
        watched.change = watched.items->ItemChange().subscribe(
            [this, onChange](const host::ItemPtr& item) { (this->*onChange)(item); });
}

void VelmoraMenu::setColOutBoxItems(std::shared_ptr<host::Items> items) {
    watch(colOutBoxItems_, std::move(items), &VelmoraMenu::colOutBoxItems_ItemAdd,
          &VelmoraMenu::colOutBoxItems_ItemChange);
}

void VelmoraMenu::setColSentItems(std::shared_ptr<host::Items> items) {
    watch(colSentItems_, std::move(items), &VelmoraMenu::colSentItems_ItemAdd,
          &VelmoraMenu::colSentItems_ItemChange);
}

void VelmoraMenu::setColInboxItems(std::shared_ptr<host::Items> items) {
    watch(colInboxItems_, std::move(items), nullptr, &VelmoraMenu::colInboxItems_ItemChange);
}

void VelmoraMenu::setColNoteItems(std::shared_ptr<host::Items> items) {
    watch(colNoteItems_, std::move(items), nullptr, &VelmoraMenu::colNoteItems_ItemChange);
}

void VelmoraMenu::setColAppItems(std::shared_ptr<host::Items> items) {
    watch(colAppItems_, std::move(items), &VelmoraMenu::colAppItems_ItemAdd,
          &VelmoraMenu::colAppItems_ItemChange);
}

void VelmoraMenu::setMenuButtons(const MenuButtons& buttons) {
    menuButtons_ = buttons;
    shareClick_ = buttons.shareAndAttach->Click().subscribe(
        [this](host::CommandBarControl&, bool&) { VelmoraMenuBar_ShareAndAttach_Click(); });
    syncClick_ = buttons.syncVelmora->Click().subscribe(
        [this](host::CommandBarControl&, bool&) { VelmoraMenuBar_SyncVelmora_Click(); });
    aboutClick_ = buttons.about->Click().subscribe(
        [this](host::CommandBarControl&, bool&) { VelmoraMenuBar_About_Click(); });
}

void VelmoraMenu::setVelmoraSendAttachEvent(host::ControlPtr button, host::ItemPtr unsentMail) {
    auto toggle = std::make_unique<AttachToggle>();
    AttachToggle& t = *toggle;
    t.button = std::move(button);
    t.mail = std::move(unsentMail);
    // The flag follows the button it is hooked to: a fresh button is up, so nothing is armed.
    t.armed = t.button->State() == host::msoButtonDown;
    t.click = t.button->Click().subscribe([this, &t](host::CommandBarControl& pressed, bool&) {
        VelmoraSendAttachEvent_Click(t, pressed);
    });
    if (t.mail) t.send = t.mail->SendEvent().subscribe([this, &t](bool&) { SendMailItem_Send(t); });
    toggles_.push_back(std::move(toggle));
}

bool VelmoraMenu::armed(const host::ItemPtr& mail) const {
    return std::any_of(toggles_.begin(), toggles_.end(),
                       [&](const auto& t) { return t->mail == mail && t->armed; });
}

bool VelmoraMenu::exitSub(host::Item& item, int kind) {
    if (isSyncWindowOpen(state_)) return true;
    if (state_.skipNextItemEvent) {
        state_.skipNextItemEvent = false;
        return true;
    }
    if (state_.currentUser == "-1") return true;
    if (settings().GetHistoryValue() >= 1) return true;
    switch (kind) {
    case 0:
        return item.Class() != host::olMail;
    case 1:
        return item.Class() != host::olAppointment;
    case 2:
        return item.Class() != host::olContact;
    case 5:
        return item.Class() != host::olNote;
    default:
        return false;
    }
}

void VelmoraMenu::colExpl_Close() {
    explClose_.reset();
    explFolderSwitch_.reset();
    explSelectionChange_.reset();
    colExpl_.reset();
}

void VelmoraMenu::colExpl_FolderSwitch() {
    state_.skipNextItemEvent = false;
    ignoreErrors("colExpl_FolderSwitch", [&] {
        if (colExpl_) folderSwitch(colExpl_->CurrentFolder());
    });
}

void VelmoraMenu::folderSwitch(const host::FolderPtr& folder) {
    errorTrap(state_, "labelFolderSwitchMethod: ", [&] {
        resetHistoryValue();
        state_.skipNextItemEvent = false;
        showShareAndAttachControls(state_, isShareFolder(folder, false));
    });
}

void VelmoraMenu::colExpl_SelectionChange() {
    errorTrap(state_, "labelchange:", [&] {
        ignoreErrors([&] { resetHistoryValue(); });
        state_.skipNextItemEvent = false;
        ignoreErrors([&] { state_.currentUser = getCurrentUser(state_); });
        if (state_.activeDialog == dialogAttachMail || !colExpl_) return;
        auto folder = colExpl_->CurrentFolder();
        watch(colPublicItems_, nullptr, nullptr, nullptr);
        if (!isSyncMailFolder(folder)) return;
        watch(colPublicItems_, folder->Items(), nullptr, &VelmoraMenu::colPublicItems_ItemChange);
    });
}

void VelmoraMenu::colInsp_newInspector(const host::InspectorPtr& inspector) {
    errorTrap(state_, "am1>", [&] {
        state_.skipNextItemEvent = false;
        if (!inspector) return;
        auto item = inspector->CurrentItem();
        if (!item) return;
        const int itemClass = item->Class();
        if (itemClass == host::olMail && !isSyncWindowOpen(state_) && state_.currentUser != "-1") {
            errorTrap(state_, "am2>", [&] {
                setVelmoraSendAttachEvent(addInspectorAttachButton(state_, *inspector),
                                          item->Flag("Sent") ? nullptr : item);
            });
            return;
        }
        if (itemClass != host::olNote) removeInspectorAttachButton(*inspector);
    });
}

void VelmoraMenu::SendMailItem_Send(AttachToggle& toggle) {
    errorTrap(state_, "am4>", [&] {
        if (getCurrentUser(state_) != "-1" && toggle.armed) toggle.sent = true;
    });
}

void VelmoraMenu::VelmoraSendAttachEvent_Click(AttachToggle& toggle,
                                               const host::CommandBarControl& pressed) {
    ignoreErrors([&] {
        if (&pressed != toggle.button.get()) return;
        if (isSyncWindowOpen(state_) || state_.currentUser == "-1") return;
        const bool down = toggle.button->State() == host::msoButtonDown;
        toggle.button->SetState(down ? host::msoButtonUp : host::msoButtonDown);
        toggle.armed = !down;
    });
}

void VelmoraMenu::openAttachAfterSend(const host::ItemPtr& mail) {
    dialogs_.openAttachAfterSend(mail);
}

// The mail of an armed window, sent, has landed in the Outbox: its toggle has done its work.
void VelmoraMenu::outboxItem(const host::ItemPtr& item, bool sendOutbox) {
    if (isSyncWindowOpen(state_)) return;
    state_.currentUser = getCurrentUser(state_);
    if (state_.currentUser == "-1") return;
    const auto toggle = std::find_if(toggles_.begin(), toggles_.end(), [&](const auto& t) {
        return t->mail == item && t->armed && t->sent;
    });
    if (toggle == toggles_.end()) return;
    toggles_.erase(toggle);
    openAttachAfterSend(item);
    if (sendOutbox) executeSendReceive(state_);
}

void VelmoraMenu::colOutBoxItems_ItemChange(const host::ItemPtr& item) {
    errorTrap(state_, "am5>", [&] { outboxItem(item, false); });
}

void VelmoraMenu::colOutBoxItems_ItemAdd(const host::ItemPtr& item) {
    errorTrap(state_, "am6>>", [&] { outboxItem(item, true); });
}

void VelmoraMenu::relinkMail(host::Item& mail) {
    if (!state_.mailLinks) return;
    state_.mailLinks->emailToContact(mail, nullptr, false, false, false, false);
}

void VelmoraMenu::colInboxItems_ItemChange(const host::ItemPtr& item) {
    logFailure("colInboxItems_ItemChange", *item, [&] {
        if (!exitSub(*item, 0)) relinkMail(*item);
    });
}

void VelmoraMenu::colSentItems_ItemChange(const host::ItemPtr& item) {
    logFailure("colSentItems_ItemChange", *item, [&] {
        if (!exitSub(*item, 0)) relinkMail(*item);
    });
}

void VelmoraMenu::colPublicItems_ItemChange(const host::ItemPtr& item) {
    logFailure("colPublicItems_ItemChange", *item, [&] {
        state_.currentUser = getCurrentUser(state_);
        if (!exitSub(*item, 0)) relinkMail(*item);
    });
}

void VelmoraMenu::colSentItems_ItemAdd(const host::ItemPtr& item) {
    // Known by the item itself, so that a mail sharing another's creation second is not taken
    // for it; rows written under its key from now on go under its entry ID.
    logFailure("colSentItems_ItemAdd", *item, [&] {
        if (state_.mailLinks) state_.mailLinks->mailArrived(*item);
    });
    logFailure("colSentItems_ItemAdd", *item, [&] {
        if (isSyncWindowOpen(state_) || !state_.mailLinks) return;
        auto& engine = *state_.mailLinks;
        if (exitSub(*item, 0)) {
            if (engine.isNewMail(*item)) engine.replaceNewMailID(*item);
            return;
        }
        if (!engine.isNewMail(*item)) {
            relinkMail(*item);
            return;
        }
        if (engine.isNewMail(*item)) engine.replaceNewMailID(*item);
    });
}

void VelmoraMenu::colNoteItems_ItemChange(const host::ItemPtr& item) {
    logFailure("colNoteItems_ItemChange", *item, [&] {
        if (!exitSub(*item, 5) && state_.noteLinks) state_.noteLinks->noteToContact(*item, false);
    });
}

void VelmoraMenu::colAppItems_ItemAdd(const host::ItemPtr& item) {
    logFailure("colAppItems_ItemAdd", *item, [&] {
        if (!exitSub(*item, 1) && state_.eventLinks)
            state_.eventLinks->attachEventtoContact(*item, false);
    });
}

void VelmoraMenu::colAppItems_ItemChange(const host::ItemPtr& item) {
    logFailure("colAppItems_ItemChange", *item, [&] {
        if (exitSub(*item, 1) || !state_.eventLinks) return;
        if (getEventAccess(state_, *item) == 1) return;
        state_.eventLinks->attachEventtoContact(*item, false);
    });
}

void VelmoraMenu::startCompanion(const std::vector<std::string>& args) {
    ignoreErrors([&] {
        if (!state_.platform.windowSystem) return;
        const auto program = std::filesystem::path(installPath(state_)) / "Tidewell";
        state_.platform.windowSystem->StartProcess(program.string(), args);
    });
}

void VelmoraMenu::VelmoraMenuBar_ShareAndAttach_Click() {
    std::optional<int> kind;
    errorTrap(state_, "lableShareAndAttach :", [&] {
        state_.skipNextItemEvent = false;
        state_.currentUser = getCurrentUser(state_);
        if (state_.currentUser == "-1")
            return showExclamation(state_,
                                   say(state_, {.english = "Please synchronization with velmora.",
                                                .chinese = "在使用之前，请首先与Velmora同步。"}));
        if (isSyncWindowOpen(state_))
            return showExclamation(
                state_, say(state_, {.english = "Please close window of synchronization.",
                                     .chinese = "进行此操作前，请关闭同步窗口。"}));
        auto explorer = state_.application().ActiveExplorer();
        if (!explorer) return;
        if (explorer->Selection().Count() == 0)
            return showInformation(state_, say(state_, {.english = "Please select a item.",
                                                        .chinese = "请选择一个要操作的记录。"}));
        const host::FolderPtr folder = explorer->CurrentFolder();
        if (!folder || folderKind(*folder) == -1) return;
        const host::FolderPtr top = topLevelFolder(folder);
        const int byName = classByName(top->Name());
        if (byName >= 0)
            kind = byName;
        else if (byName == -2 && top->DefaultItemType() == host::olMailItem)
            kind = 0;
    });
    if (kind) dialogs_.dispatcher(*kind);
}

void VelmoraMenu::VelmoraMenuBar_SyncVelmora_Click() {
    if (state_.activeDialog != dialogNone) {
        showExclamation(
            state_,
            say(state_, {.english = "Please close window of VelmoraOutlook before synchronization.",
                         .chinese = "同步前，请关闭VelmoraOutlook的所有窗口。"}));
        return;
    }
    startCompanion({});
}

void VelmoraMenu::VelmoraMenuBar_About_Click() {
    startCompanion({"about"});
}

int VelmoraMenu::folderKind(host::Folder& folder) {
    switch (folder.DefaultItemType()) {
    case host::olMailItem:
        return 0;
    case host::olAppointmentItem:
        return 1;
    case host::olContactItem:
        return 2;
    case host::olTaskItem:
        return 3;
    case host::olNoteItem:
        return 5;
    default:
        return -1;
    }
}

host::FolderPtr VelmoraMenu::topLevelFolder(host::FolderPtr folder) {
    while (folder->Parent() && folder->Parent()->Parent())
        folder = folder->Parent();
    return folder;
}

int VelmoraMenu::classByName(const std::string& name) {
    if (name == "Inbox" || name == "收件箱" || name == "Sent Items" || name == "已发送的邮件")
        return 0;
    if (name == "Calendar" || name == "日历") return 1;
    if (name == "Contacts" || name == "联系人") return 2;
    if (name == "Tasks" || name == "任务") return 3;
    if (name == "Notes" || name == "便笺") return 5;
    if (name == "Deleted Items" || name == "已删除的邮件" || name == "Outbox" || name == "发件箱" ||
        name == " Journal" || name == "日记" || name == "Drafts" || name == "草稿")
        return -1;
    return -2;
}

bool VelmoraMenu::isShareFolder(const host::FolderPtr& folder, bool mailOnly) {
    bool answer = false;
    errorTrap(state_, "LabelIsChangeEvent :", [&] {
        if (!folder || !folder->Parent()) return;
        const int ownKind = folderKind(*folder);
        if (ownKind == -1) return;
        const host::FolderPtr top = topLevelFolder(folder);
        const int topClass = classByName(top->Name());
        if (topClass == -1) return;
        auto inboxRoot = state_.application()
                             .GetNamespace("MAPI")
                             .GetDefaultFolder(host::olFolderInbox)
                             ->Parent();
        const bool defaultStore = sameFolder(*top->Parent(), *inboxRoot);
        const bool isTop = sameFolder(*folder, *top);
        if (topClass == -2) {
            answer = defaultStore && top->DefaultItemType() == host::olMailItem &&
                     ownKind == host::olMailItem;
            return;
        }
        if (mailOnly) {
            answer = !isTop;
            return;
        }
        if (!defaultStore || folder->DefaultItemType() != top->DefaultItemType()) return;
        answer = ownKind == 0 || isTop;
    });
    return answer;
}

bool VelmoraMenu::isSyncMailFolder(const host::FolderPtr& folder) {
    return folder && folder->DefaultItemType() == host::olMailItem && isShareFolder(folder, true);
}

void VelmoraMenu::dispose() {
    dialogs_.dispose();
    settings_.reset();
}

} // namespace velmora

// The event hub: receives every host event the add-in hooks (explorer, inspectors, folder
// items, the composed mail, the buttons) and keeps the link store and command bars in step.
#pragma once

#include "addin/AddinState.h"
#include "addin/CommandBars.h"
#include "addin/HubDialogs.h"
#include "store/readRegister.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora {

class VelmoraMenu {
  public:
    explicit VelmoraMenu(AddinState& state);

    // Hooking: each member becomes an event source of the hub.
    void setColInsp(host::Inspectors& inspectors);
    void setColExpl(host::ExplorerPtr explorer);
    void setColOutBoxItems(std::shared_ptr<host::Items> items);
    void setColSentItems(std::shared_ptr<host::Items> items);
    void setColInboxItems(std::shared_ptr<host::Items> items);
    void setColNoteItems(std::shared_ptr<host::Items> items);
    void setColAppItems(std::shared_ptr<host::Items> items);
    void setMenuButtons(const MenuButtons& buttons);
    // The Attach toggle of one mail window: its button, the window's unsent mail, whether the
    // button is down (armed) and whether the mail was sent while it was. Each window keeps its
    // own, so opening or pressing another window's toggle leaves this one as it is.
    struct AttachToggle {
        host::ControlPtr button;
        host::ItemPtr mail;
        bool armed = false;
        bool sent = false;
        host::Subscription click, send;
    };
    // Hooks the Attach button of a mail window, and its mail while that is unsent.
    void setVelmoraSendAttachEvent(host::ControlPtr button, host::ItemPtr unsentMail);

    // The event filter: true when an item event is to be ignored.
    bool exitSub(host::Item& item, int kind);

    void colExpl_Close();
    void colExpl_FolderSwitch();
    void colExpl_SelectionChange();
    void colInsp_newInspector(const host::InspectorPtr& inspector);
    void SendMailItem_Send(AttachToggle& toggle);
    // Office raises Click on every button with the Attach tag; only the one pressed toggles.
    void VelmoraSendAttachEvent_Click(AttachToggle& toggle, const host::CommandBarControl& pressed);
    void colOutBoxItems_ItemChange(const host::ItemPtr& item);
    void colOutBoxItems_ItemAdd(const host::ItemPtr& item);
    void colInboxItems_ItemChange(const host::ItemPtr& item);
    void colSentItems_ItemAdd(const host::ItemPtr& item);
    void colSentItems_ItemChange(const host::ItemPtr& item);
    void colNoteItems_ItemChange(const host::ItemPtr& item);
    void colAppItems_ItemChange(const host::ItemPtr& item);
    void colAppItems_ItemAdd(const host::ItemPtr& item);
    void colPublicItems_ItemChange(const host::ItemPtr& item);

    void VelmoraMenuBar_ShareAndAttach_Click();
    void VelmoraMenuBar_SyncVelmora_Click();
    void VelmoraMenuBar_About_Click();

    // Shows or hides the share-and-attach controls for the folder in view.
    void folderSwitch(const host::FolderPtr& folder);
    // Classification of folders (item kinds and name classes).
    static int folderKind(host::Folder& folder);
    static int classByName(const std::string& name);
    // The folder right below its store's root that holds this one (the folder itself when it
    // is such a folder, or the root).
    static host::FolderPtr topLevelFolder(host::FolderPtr folder);
    bool isShareFolder(const host::FolderPtr& folder, bool mailOnly);
    bool isSyncMailFolder(const host::FolderPtr& folder);

    // Unloads the dialogs the hub holds and releases its settings.
    void dispose();

    HubDialogs& dialogs() { return dialogs_; }
    std::vector<controls::Form*> loadedDialogs() const { return dialogs_.loadedDialogs(); }

    // Attach is down in a window composing this mail.
    bool armed(const host::ItemPtr& mail) const;
    bool hasPublicItems() const { return static_cast<bool>(colPublicItems_.items); }
    bool hasExplorer() const { return static_cast<bool>(colExpl_); }

  private:
    readRegister& settings();
    void resetHistoryValue();
    void relinkMail(host::Item& mail);
    void openAttachAfterSend(const host::ItemPtr& mail);
    void outboxItem(const host::ItemPtr& item, bool sendOutbox);
    void startCompanion(const std::vector<std::string>& args);

    AddinState& state_;
    HubDialogs dialogs_;
    std::unique_ptr<readRegister> settings_;

    host::ExplorerPtr colExpl_;
    host::Subscription explClose_, explFolderSwitch_, explSelectionChange_, inspNew_;
    // An item collection the hub listens to, with its add and change subscriptions.
    struct WatchedItems {
        std::shared_ptr<host::Items> items;
        host::Subscription add, change;
    };
    using ItemHandler = void (VelmoraMenu::*)(const host::ItemPtr&);
    // Keeps items in watched and hands their events to the handlers; a null handler: not heard.
    void watch(WatchedItems& watched, std::shared_ptr<host::Items> items, ItemHandler onAdd,
               ItemHandler onChange);
    WatchedItems colOutBoxItems_, colSentItems_, colInboxItems_, colNoteItems_, colAppItems_,
        colPublicItems_;
    // Held by pointer: each toggle's handlers refer to it.
    std::vector<std::unique_ptr<AttachToggle>> toggles_;
    MenuButtons menuButtons_;
    host::Subscription shareClick_, syncClick_, aboutClick_;
};

} // namespace velmora

// Connection and termination of the add-in. A failing step is reported once under its tag and
// the steps after it are skipped, so a broken host leaves the add-in partly active.
#include "addin/AddInDesigner1.h"

#include "addin/CommandBars.h"
#include "links/AttachEmail.h"
#include "links/AttachEvent.h"
#include "links/AttachmentTidy.h"
#include "links/attachNote.h"
#include "store/ErrorTrap.h"
#include "store/readRegister.h"

namespace velmora {

VelmoraMenu& AddInDesigner1::menu() {
    if (!menu_) menu_ = std::make_unique<VelmoraMenu>(state_);
    return *menu_;
}

bool AddInDesigner1::hookEvents(host::Application& application) {
    return errorTrap(state_, "a1>", [&] {
        auto& hub = menu();
        hub.setColInsp(application.Inspectors());
        hub.setColExpl(application.Explorers().Item(1));
        auto& ns = application.GetNamespace("MAPI");
        hub.setColOutBoxItems(ns.GetDefaultFolder(host::olFolderOutbox)->Items());
        hub.setColSentItems(ns.GetDefaultFolder(host::olFolderSentMail)->Items());
        hub.setColInboxItems(ns.GetDefaultFolder(host::olFolderInbox)->Items());
        hub.setColNoteItems(ns.GetDefaultFolder(host::olFolderNotes)->Items());
        hub.setColAppItems(ns.GetDefaultFolder(host::olFolderCalendar)->Items());
    });
}

bool AddInDesigner1::buildCommandBars(host::Application& application) {
    return errorTrap(state_, "a3>", [&] {
        auto buttons = buildMenuPopup(state_);
        if (!buttons) {
            application.Quit();
            return;
        }
        menu().setMenuButtons(*buttons);
        const int position = toolbarPosition(state_);
        addShareAndAttachToolbarButton(state_, position);
        addSyncToolbarButton(state_, position + 1);
        if (auto explorer = application.ActiveExplorer())
            menu().folderSwitch(explorer->CurrentFolder());
    });
}

void AddInDesigner1::AddinInstance_OnConnection(host::Application& application, int) {
    if (!state_.platform.application) state_.platform.application = &application;
    errorTrap(state_, "a2>", [&] {
        auto& explorers = application.Explorers();
        if (explorers.Count() == 0 || !explorers.Item(1)) return;
        state_.activeDialog = dialogNone;

        std::string language = readRegister::defaultLanguage;
        if (state_.platform.registry)
            ignoreErrors(
                [&] { language = readRegister(*state_.platform.registry).GetCurrentVersion(); });
        state_.isChinese = language == "CN";
        state_.syncWindowCaption = say(state_, {.english = "Synchronize Outlook - Velmora",
                                                .chinese = "Velmora－Outlook信息同步"});

        if (!hookEvents(application)) return;
        if (!buildCommandBars(application)) return;

        if (!state_.mailLinks) state_.mailLinks = std::make_shared<AttachEmail>(state_);
        if (!state_.eventLinks) state_.eventLinks = std::make_shared<AttachEvent>(state_);
        if (!state_.noteLinks) state_.noteLinks = std::make_shared<attachNote>(state_);
        if (state_.platform.registry) {
            readRegister settings(*state_.platform.registry);
            loadUiIndices(settings, state_.ui);
        }
        state_.storeConnection = openStore(state_);
        // Before any link operation: what a crash left half done in the attachment folders.
        tidyAttachmentFolders(state_);
    });
}

void AddInDesigner1::AddinInstance_Terminate() {
    ignoreErrors([&] {
        if (!state_.platform.registry) return;
        readRegister settings(*state_.platform.registry);
        saveUiIndices(settings, state_.ui);
    });
    menu().dispose();
    errorTrap(state_, "m1>", [&] { closeStore(state_); });
    state_.mailLinks.reset();
    state_.eventLinks.reset();
    state_.noteLinks.reset();
}

} // namespace velmora

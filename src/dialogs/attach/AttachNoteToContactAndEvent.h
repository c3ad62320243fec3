// The attach-note dialog: links the note selected in the explorer to contacts (first tab) and to
// events (second tab). Each tab's Attach button applies its list without closing the dialog.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "dialogs/common/ListPair.h"
#include "dialogs/search/DialogSearch.h"
#include "dialogs/search/DialogSearchPlus.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TabControl.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora {
class attachNote;
}

namespace velmora::dialogs {

class AttachNoteToContactAndEvent {
  public:
    explicit AttachNoteToContactAndEvent(DialogContext& state);
    AttachNoteToContactAndEvent(const AttachNoteToContactAndEvent&) = delete;
    AttachNoteToContactAndEvent& operator=(const AttachNoteToContactAndEvent&) = delete;

    controls::Form& form() { return form_; }
    void Show(bool modal = false, controls::Form* owner = nullptr) { form_.Show(modal, owner); }
    // The searches opened from the two tabs; created on first use.
    DialogSearch& contactSearch();
    DialogSearchPlus& eventSearch();

    // The note taken when the dialog loaded; null once it is closed.
    host::ItemPtr note() const { return note_; }
    bool eventsChanged() const { return eventsChanged_; }

  private:
    enum Tab { contactsTab = 0, eventsTab = 1 };

    void onLoad();
    void onUnload();
    void setCaptions();
    attachNote& noteLinks() const;
    std::string storeIdOf(std::int16_t kind);

    void iniAttachNoteToContact();
    void iniAttachNoteToEvent();
    void setButtonStatus(Tab tab, bool enabled);
    void contactsMoved();
    void eventsMoved();
    void attachToContacts();
    void attachToEvents();
    void showChosen(controls::ListView& list, std::int16_t kind, const char* english,
                    const char* chinese);

    DialogContext& state_;
    controls::Form form_;
    controls::TabControl& tab_;
    // Contacts tab.
    controls::ListView& left_;
    controls::ListView& right_;
    controls::CommandButton& search_;
    controls::CommandButton& prop1_;
    controls::CheckBox& share_;
    controls::CommandButton& toContact_;
    controls::Label& done1_;
    // Events tab.
    controls::ListView& leftPlus_;
    controls::ListView& rightPlus_;
    controls::CommandButton& searchPlus_;
    controls::CommandButton& prop2_;
    controls::CommandButton& toEvent_;
    controls::Label& done2_;
    controls::CommandButton& close_;

    ListPair contacts_;
    ListPair events_;
    std::unique_ptr<DialogSearch> contactSearch_;
    std::unique_ptr<DialogSearchPlus> eventSearch_;

    host::ItemPtr note_;
    std::string noteId_;
    // Whether the note had contact links visible to the user when the dialog loaded.
    bool hadContactLinks_ = false;
    bool eventsChanged_ = false;
    std::vector<host::Subscription> subscriptions_;
};

} // namespace velmora::dialogs

// The dialogs the event hub keeps: created on first use, reused until terminate, and the
// dispatcher that opens the one matching the item selected in the explorer.
#pragma once

#include "addin/AddinState.h"
#include "platform/controls/Form.h"
#include "platform/text/Bilingual.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora {

namespace dialogs {
class AttachSentMailToContact;
class ShareAppGroup;
class ShareContactGroup;
class ShareTaskGroup;
class AttachNoteToContactAndEvent;
} // namespace dialogs

class HubDialogs {
  public:
    explicit HubDialogs(AddinState& state);
    ~HubDialogs();
    HubDialogs(const HubDialogs&) = delete;
    HubDialogs& operator=(const HubDialogs&) = delete;

    // Opens the dialog of the dispatch kind (0 mail, 1 appointment, 2 contact, 3 task, 5 note)
    // for the explorer's first selected item, or says why not. Does nothing while a dialog is
    // loaded.
    void dispatcher(int kind);
    // A fresh attach-mail dialog for a mail just sent with Attach down, under its substitute key;
    // dialogs opened for earlier mails stay as the user left them.
    void openAttachAfterSend(const host::ItemPtr& mail);

    // The forms of every dialog now loaded, for a caller that drives or shows them.
    std::vector<controls::Form*> loadedDialogs() const;
    // Unloads what is loaded and releases every dialog.
    void dispose();

    dialogs::AttachSentMailToContact* attachMail() const { return attachMail_.get(); }
    // The after-send dialogs still loaded, in the order they were opened.
    std::vector<dialogs::AttachSentMailToContact*> attachAfterSend() const;
    dialogs::ShareAppGroup* shareAppointment() const { return shareAppointment_.get(); }
    dialogs::ShareContactGroup* shareContact() const { return shareContact_.get(); }
    dialogs::ShareTaskGroup* shareTask() const { return shareTask_.get(); }
    dialogs::AttachNoteToContactAndEvent* attachNote() const { return attachNote_.get(); }

  private:
    host::ItemPtr selectedItem(int itemClass) const;
    // The item's own text, or the language's stand-in when it is blank.
    std::string caption(const std::string& own, const text::Bilingual& blank) const;
    void refuse(const text::Bilingual& message) const;

    AddinState& state_;
    std::unique_ptr<dialogs::AttachSentMailToContact> attachMail_;
    std::vector<std::unique_ptr<dialogs::AttachSentMailToContact>> afterSend_;
    std::vector<host::Subscription> afterSendUnloads_;
    std::unique_ptr<dialogs::ShareAppGroup> shareAppointment_;
    std::unique_ptr<dialogs::ShareContactGroup> shareContact_;
    std::unique_ptr<dialogs::ShareTaskGroup> shareTask_;
    std::unique_ptr<dialogs::AttachNoteToContactAndEvent> attachNote_;
};

} // namespace velmora

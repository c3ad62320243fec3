// The attach-mail dialog's contacts tab: the mail's correspondents and recorded contacts, the
// share, include-attachments and delete-mail options, and attaching the mail to the chosen ones.
#pragma once

#include "dialogs/attach/LayoutPair.h"
#include "dialogs/attach/MailPickerTab.h"
#include "dialogs/search/DialogSearch.h"
#include "platform/controls/CaptionedControls.h"

#include <memory>
#include <string>

namespace velmora::dialogs {

class MailContactsTab : public MailPickerTab {
  public:
    // The controls are the form's, found by name; the move buttons are added here.
    MailContactsTab(DialogContext& state, controls::Form& form, AttachedMail& mail);

    DialogSearch& contactSearch();
    void showLayout(bool chinese);
    // Fills both lists from the mail; stored says whether the mail is in a folder already.
    void iniAttachEmailToContact(bool stored);

    // The form's handler table wires these.
    void cmdMailtoContact_Click();
    void shareEmail_Click() { optionChanged(); }
    void includeMailAttachment_Click() { optionChanged(); }
    void deleteMailForContact_Click() { optionChanged(); }
    void CommandSearch_Click();
    void ConProp_Click() { showChosenContact(); }
    void ListViewRight_DblClick() { showChosenContact(); }

  private:
    struct RecordedLinks {
        bool recorded = false;
        bool shared = false;
        bool withAttachments = false;
    };

    void addCandidate(std::string name, const std::string& address);
    void addMailCandidates(bool stored);
    RecordedLinks addRecordedLinks();
    void addOutlookLinks();
    void setButtonStatus(bool enabled);
    void optionChanged();
    void contactsMoved();
    void attachMailToContactClick();
    // Gives a right-list row the key of its Outlook contact, making the contact when there is
    // none; false when the row duplicates one listed already and was removed.
    bool settleRowKey(int row, const host::FolderPtr& folder);
    void showChosenContact();

    controls::CommandButton& conProp_;
    LayoutPair attach_, share_, includeAttachment_, deleteMail_, done_;
    std::unique_ptr<DialogSearch> search_;
};

} // namespace velmora::dialogs

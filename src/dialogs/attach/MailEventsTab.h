// The attach-mail dialog's events tab: the events the mail is recorded with, the delete-mail and
// include-attachments options, and attaching the mail to the chosen events.
#pragma once

#include "dialogs/attach/LayoutPair.h"
#include "dialogs/attach/MailPickerTab.h"
#include "dialogs/search/DialogSearch.h"
#include "platform/controls/CaptionedControls.h"

#include <memory>
#include <string>

namespace velmora::dialogs {

class MailEventsTab : public MailPickerTab {
  public:
    // The controls are the form's, found by name; the move buttons are added here.
    MailEventsTab(DialogContext& state, controls::Form& form, AttachedMail& mail);

    DialogSearchPlus& eventSearch();
    void showLayout(bool chinese);
    // Forgets a change of a previous opening.
    void reset() { changed_ = false; }
    void iniAttachMailToEvent();
    // Lists an appointment made from the mail on the quick appointment tab, already attached.
    void addCreatedAppointment(const host::Item& appointment);

    // The form's handler table wires these.
    void cmdMailtoEvent_Click();
    void cmdSearchPlus_Click();
    void cmdProp2_Click() { showChosenEvent(); }
    void ListViewRightPlus_DblClick();
    void deleteMailForEvent_Click() { eventsChanged(); }
    void includeAttachmentForEvent_Click() { eventsChanged(); }

  private:
    void setEventButtons(bool enabled);
    void eventsChanged();
    void attachMailToEventClick();
    // Drops the rows recorded under the mail's key, telling the sharing of each appointment.
    void removeEventRows(const std::string& key);
    void writeEventRows(bool include);
    // With no event left, the mail's history keeps only its contact links, or goes.
    void settleHistory(const std::string& key);
    void showChosenEvent();

    controls::CommandButton& prop2_;
    controls::CommandButton& mailtoEvent_;
    controls::Label& doneTab2_;
    LayoutPair deleteMail_, includeAttachment_;
    std::unique_ptr<DialogSearchPlus> search_;
    bool changed_ = false;
};

} // namespace velmora::dialogs

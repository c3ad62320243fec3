// The attach-mail dialog: links one mail to contacts and to events, and can make an appointment
// from it in one step. Opened for the selected mail, or for a mail just sent with Attach down.
#pragma once

#include "dialogs/attach/AttachedMail.h"
#include "dialogs/attach/MailContactsTab.h"
#include "dialogs/attach/MailEventsTab.h"
#include "dialogs/attach/QuickAppointmentTab.h"
#include "dialogs/common/DialogContext.h"
#include "dialogs/common/DialogForm.h"
#include "platform/controls/Form.h"
#include "platform/controls/TabControl.h"

#include <string>

namespace velmora::dialogs {

class AttachSentMailToContact : public DialogForm {
  public:
    explicit AttachSentMailToContact(DialogContext& state);

    // The opener hands over a mail (and its id, a substitute key while it is composed); without
    // it the dialog takes the explorer's first selected mail when it loads.
    void setMailObj(host::ItemPtr mail, std::string mailId);

    DialogSearch& contactSearch() { return contacts_.contactSearch(); }
    DialogSearchPlus& eventSearch() { return events_.eventSearch(); }
    shareEmailGroups& shareDialog() { return quick_.shareDialog(); }

    const std::string& mailId() const { return mail_.id; }
    host::ItemPtr createdAppointment() const { return quick_.created(); }

  private:
    void Form_Load() override;
    void Form_Unload() override;
    void cmdClose_Click();
    // The controls come back as designed; so does the state of a previous opening.
    void forgetPreviousOpening();
    void setCaptions();
    void takeSelectedMail();

    controls::TabControl& tab_;
    AttachedMail mail_;
    MailContactsTab contacts_;
    MailEventsTab events_;
    QuickAppointmentTab quick_;
};

} // namespace velmora::dialogs

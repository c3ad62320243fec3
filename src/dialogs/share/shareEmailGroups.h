// The share dialog for the appointment made from a mail in the attach-mail dialog: shares it
// with groups and makes the mail's contact links shared or private.
#pragma once

#include "dialogs/share/ShareGroupDialog.h"

namespace velmora::dialogs {

class shareEmailGroups : public ShareGroupDialog {
  public:
    explicit shareEmailGroups(DialogContext& state);
    // Called by the opener before the dialog is shown (modally, owned by the opener).
    void setAppointmentObj(const std::string& appointmentEntryId, const std::string& mailEntryId);
};

} // namespace velmora::dialogs

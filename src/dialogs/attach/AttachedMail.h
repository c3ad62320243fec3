// The mail the attach-mail dialog works on, shared by its three tabs: the item, its id (a
// substitute key beginning "OutlookID" while it is being composed) and whether it was handed over.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "platform/host/ObjectModel.h"

#include <string>
#include <string_view>

namespace velmora {
class AttachEmail;
}

namespace velmora::dialogs {

class AttachedMail {
  public:
    explicit AttachedMail(DialogContext& state) : state_(state) {}

    host::ItemPtr item;
    std::string id;
    bool handedOver = false;

    // A mail being composed: never deleted, and sent when the dialog closes.
    bool isNew() const;
    bool hasAttachments() const;
    // Shows why nothing can be attached when no mail was loaded at opening.
    bool loaded() const;
    AttachEmail& links() const;

  private:
    DialogContext& state_;
};

// Blanks and tabs trimmed from both ends, as the dialog reads names, counts and subjects.
std::string trimmed(std::string_view text);

} // namespace velmora::dialogs

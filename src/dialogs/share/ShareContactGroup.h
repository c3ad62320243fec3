// The share-contact dialog: shares the contact selected in the explorer with groups.
// Opened only for a contact the user may share; touches the contact on close after a change.
#pragma once

#include "dialogs/share/ShareGroupDialog.h"

namespace velmora::dialogs {

class ShareContactGroup : public ShareGroupDialog {
  public:
    explicit ShareContactGroup(DialogContext& state);
};

} // namespace velmora::dialogs

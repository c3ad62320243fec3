// The share-task dialog: shares the task selected in the explorer with groups.
// Opened only for a task the user may share; touches the task on close after a change.
#pragma once

#include "dialogs/share/ShareGroupDialog.h"

namespace velmora::dialogs {

class ShareTaskGroup : public ShareGroupDialog {
  public:
    explicit ShareTaskGroup(DialogContext& state);
};

} // namespace velmora::dialogs

// The share-task dialog's profile: Group_Todo and TodoExt, "stg1>>", touch code 3.
// Load errors are not handled here; they reach the opener.
#include "dialogs/share/ShareTaskGroup.h"

namespace velmora::dialogs {

ShareTaskGroup::ShareTaskGroup(DialogContext& state)
    : ShareGroupDialog(state, ShareGroupProfile{.formName = "ShareTaskGroup",
                                                .kind = ShareKind::task,
                                                .designedTitle = "分享任务",
                                                .hasTab = true,
                                                .tabChinese = "分享任务 ",
                                                .tabEnglish = "Share Task",
                                                .dialogCode = dialogShareTask,
                                                .applyLabel = "stg1>>",
                                                .touchCode = 3}) {}

} // namespace velmora::dialogs

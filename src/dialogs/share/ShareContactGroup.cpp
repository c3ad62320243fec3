// The share-contact dialog's profile: Group_Contact and ContactExt, "scg>>", touch code 2.
// Each failing step of its load is passed over.
#include "dialogs/share/ShareContactGroup.h"

namespace velmora::dialogs {

ShareContactGroup::ShareContactGroup(DialogContext& state)
    : ShareGroupDialog(state, ShareGroupProfile{.formName = "ShareContactGroup",
                                                .kind = ShareKind::contact,
                                                .designedTitle = "联系人分享",
                                                .hasTab = true,
                                                .tabChinese = " 分享联系人 ",
                                                .tabEnglish = "Share contact",
                                                .dialogCode = dialogShareContact,
                                                .applyLabel = "scg>>",
                                                .skipLoadErrors = true,
                                                .touchCode = 2}) {}

} // namespace velmora::dialogs

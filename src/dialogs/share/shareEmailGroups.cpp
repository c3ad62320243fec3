// The mail kind's profile: Group_Task, CalendarExt and the mail's noteTb privacy, "seg1>>",
// list fill failures reported as "labelAddGroups: ", no tab, activeDialog left alone.
#include "dialogs/share/shareEmailGroups.h"

namespace velmora::dialogs {

shareEmailGroups::shareEmailGroups(DialogContext& state)
    : ShareGroupDialog(state, ShareGroupProfile{.formName = "shareEmailGroups",
                                                .kind = ShareKind::appointmentFromMail,
                                                .designedTitle = "分享事件",
                                                .hasTab = false,
                                                .applyLabel = "seg1>>",
                                                .fillLabel = "labelAddGroups: ",
                                                .itemFromSelection = false}) {}

void shareEmailGroups::setAppointmentObj(const std::string& appointmentEntryId,
                                         const std::string& mailEntryId) {
    entryId_ = appointmentEntryId;
    mailEntryId_ = mailEntryId;
}

} // namespace velmora::dialogs

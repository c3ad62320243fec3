// Finds a picker tab's lists and frames in the form, adds and wires its move buttons, and
// switches its frames and list layouts with the language.
#include "dialogs/attach/MailPickerTab.h"

#include <utility>

namespace velmora::dialogs {

MailPickerTab::MailPickerTab(DialogContext& state, controls::Form& form, AttachedMail& mail,
                             const Design& design, ListPair::AfterMove afterMove)
    : state_(state), form_(form), mail_(mail), left_(form.get<controls::ListView>(design.left)),
      right_(form.get<controls::ListView>(design.right)),
      chineseFrame_(form.get<controls::Frame>(design.chineseFrame)),
      englishFrame_(form.get<controls::Frame>(design.englishFrame)), layout_(design.layout),
      lists_(left_, right_, design.icon) {
    lists_.wireOn(form_, design.moveButtons, std::move(afterMove));
}

void MailPickerTab::showPicker(bool chinese) {
    chineseFrame_.setVisible(chinese);
    englishFrame_.setVisible(!chinese);
    for (auto* list : {&left_, &right_})
        applyListLayout(*list, layout_, state_);
}

} // namespace velmora::dialogs

// What the attach-mail tabs ask of their mail: new or stored, with attachments or without,
// loaded at all, and the mail link engine that records it.
#include "dialogs/attach/AttachedMail.h"

#include "links/AttachEmail.h"
#include "platform/text/AsciiText.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

#include <stdexcept>

namespace velmora::dialogs {

bool AttachedMail::isNew() const {
    return id.find("OutlookID") != std::string::npos;
}

bool AttachedMail::hasAttachments() const {
    bool any = false;
    ignoreErrors([&] { any = item && item->Attachments().Count() > 0; });
    return any;
}

bool AttachedMail::loaded() const {
    if (item) return true;
    showExclamation(state_, say(state_, {.english = "The mail could not be loaded. Close this "
                                                    "window and open it again.",
                                         .chinese = "邮件未能载入，请关闭此窗口后重新打开。"}));
    return false;
}

AttachEmail& AttachedMail::links() const {
    if (!state_.mailLinks) throw std::runtime_error("The mail links are not ready");
    return *state_.mailLinks;
}

std::string trimmed(std::string_view text) {
    return std::string(text::trim(text, " \t"));
}

} // namespace velmora::dialogs

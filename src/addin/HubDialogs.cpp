// The dispatcher's checks, refusals and captions, and the lifetime of the hub's dialogs.
// Every dialog is shown modeless; it reads the selected item itself when it loads.
#include "addin/HubDialogs.h"

#include "dialogs/attach/AttachNoteToContactAndEvent.h"
#include "dialogs/attach/AttachSentMailToContact.h"
#include "dialogs/share/ShareAppGroup.h"
#include "dialogs/share/ShareGroupDialog.h"
#include "links/AttachEmail.h"
#include "links/MailKeys.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"
#include "store/TrimBlanks.h"

#include <utility>

namespace velmora {

namespace {

// The dialog, made on first use, under the caption the dispatcher chose for the item.
template <typename Dialog>
Dialog& made(std::unique_ptr<Dialog>& dialog, AddinState& state, const std::string& caption) {
    if (!dialog) dialog = std::make_unique<Dialog>(state);
    dialog->form().setCaption(caption);
    return *dialog;
}

} // namespace

HubDialogs::HubDialogs(AddinState& state) : state_(state) {}

HubDialogs::~HubDialogs() = default;

host::ItemPtr HubDialogs::selectedItem(int itemClass) const {
    host::ItemPtr item;
    ignoreErrors([&] {
        auto explorer = state_.application().ActiveExplorer();
        if (!explorer || explorer->Selection().Count() == 0) return;
        auto first = explorer->Selection().Item(1);
        if (first && first->Class() == itemClass) item = first;
    });
    return item;
}

std::string HubDialogs::caption(const std::string& own, const text::Bilingual& blank) const {
    if (!trimBlanks(own).empty()) return own;
    return say(state_, blank);
}

void HubDialogs::refuse(const text::Bilingual& message) const {
    showExclamation(state_, say(state_, message));
}

void HubDialogs::dispatcher(int kind) {
    errorTrap(state_, "am10>>", [&] {
        if (state_.activeDialog != dialogNone) return;
        // Per dispatch kind: the item class it opens a dialog for, and the request without one.
        static constexpr int classes[] = {
            host::olMail, host::olAppointment, host::olContact, host::olTask, -1, host::olNote};
        static constexpr text::Bilingual pleaseSelect[] = {
            {.english = "Please select a mail item.", .chinese = "请选择邮件项目。"},
            {.english = "Please select a calendar item.", .chinese = "请选择事件项目。"},
            {.english = "Please select a contact item.", .chinese = "请选择联系人项目。"},
            {.english = "Please select a task item.", .chinese = "请选择任务项目。"},
            {.english = "", .chinese = ""},
            {.english = "Please select a note item.", .chinese = "请选择备忘录项目。"}};
        if (kind < 0 || kind > 5 || kind == 4) return;
        const host::ItemPtr item = selectedItem(classes[kind]);
        if (!item) return refuse(pleaseSelect[kind]);
        switch (kind) {
        case 0:
            return made(attachMail_, state_,
                        caption(item->Flag("Sent") ? item->Text("Subject") : "",
                                {.english = "No Subject", .chinese = "No Subject"}))
                .Show();
        case 1: {
            auto& dialog = made(
                shareAppointment_, state_,
                caption(item->Text("Subject"), {.english = "No subject", .chinese = "没有主题"}));
            auto& tabs = dialog.form().get<controls::TabControl>("SSTab1");
            tabs.setTabEnabled(0, true);
            if (!isCreator(state_, kindAppointment, item->EntryID())) {
                if (getEventAccess(state_, *item) == 1) {
                    state_.activeDialog = dialogNone;
                    shareAppointment_.reset();
                    return refuse({.english = "You are not allowed to share or attach this item",
                                   .chinese = "您不能对此项目进行分享或捆绑操作。"});
                }
                tabs.setTabEnabled(0, false);
            }
            dialog.Show();
            return;
        }
        case 2:
            if (!isCreator(state_, kindContact, item->EntryID()))
                return refuse({.english = "You can't share this Item.",
                               .chinese = "您不能对此项目进行分享操作。"});
            return made(
                       shareContact_, state_,
                       caption(item->Text("FullName"), {.english = "No Name", .chinese = "无名字"}))
                .Show();
        case 3:
            if (!isCreator(state_, kindTask, item->EntryID()))
                return refuse({.english = "You can't share this item.",
                               .chinese = "您不能对此项目进行分享操作。"});
            return made(shareTask_, state_,
                        caption(item->Text("Subject"),
                                {.english = "No Subject", .chinese = "No Subject"}))
                .Show();
        case 5:
            return made(attachNote_, state_,
                        caption(item->Text("Subject"),
                                {.english = "No Subject", .chinese = "无主题"}))
                .Show();
        }
    });
}

void HubDialogs::openAttachAfterSend(const host::ItemPtr& mail) {
    // Dialogs the user has closed are let go; open ones keep their mail and choices.
    for (std::size_t i = afterSend_.size(); i-- > 0;)
        if (!afterSend_[i]->form().Loaded()) {
            afterSend_.erase(afterSend_.begin() + static_cast<std::ptrdiff_t>(i));
            afterSendUnloads_.erase(afterSendUnloads_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    auto dialog = std::make_unique<dialogs::AttachSentMailToContact>(state_);
    auto* form = &dialog->form();
    // The dialog frees the lock as it closes; while another attach-mail dialog is still
    // loaded the lock stays taken.
    afterSendUnloads_.push_back(form->Unload.subscribe([this, form](int&) {
        for (controls::Form* other : loadedDialogs())
            if (other != form && other->Name() == form->Name())
                state_.activeDialog = dialogAttachMail;
    }));
    // The key is given now, once: a mail composed in the same second as another gets its own.
    dialog->setMailObj(mail,
                       state_.mailLinks ? state_.mailLinks->newMailKey(*mail) : newMailID(*mail));
    afterSend_.push_back(std::move(dialog));
    afterSend_.back()->Show();
}

std::vector<dialogs::AttachSentMailToContact*> HubDialogs::attachAfterSend() const {
    std::vector<dialogs::AttachSentMailToContact*> open;
    for (const auto& dialog : afterSend_)
        if (dialog->form().Loaded()) open.push_back(dialog.get());
    return open;
}

std::vector<controls::Form*> HubDialogs::loadedDialogs() const {
    std::vector<controls::Form*> loaded;
    auto add = [&](auto& dialog) {
        if (dialog && dialog->form().Loaded()) loaded.push_back(&dialog->form());
    };
    add(attachMail_);
    for (const auto& dialog : afterSend_)
        add(dialog);
    add(shareAppointment_);
    add(shareContact_);
    add(shareTask_);
    add(attachNote_);
    return loaded;
}

void HubDialogs::dispose() {
    for (controls::Form* form : loadedDialogs())
        ignoreErrors([&] { form->unload(); });
    attachMail_.reset();
    afterSendUnloads_.clear();
    afterSend_.clear();
    shareAppointment_.reset();
    shareContact_.reset();
    shareTask_.reset();
    attachNote_.reset();
}

} // namespace velmora

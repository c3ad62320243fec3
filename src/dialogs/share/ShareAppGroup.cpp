// The share-appointment dialog's sequences: load (tab, captions, columns, group lists unless the
// share tab is off, linked contacts), OK, the contact links, the search and the close.
#include "dialogs/share/ShareAppGroup.h"

#include "dialogs/common/ListFillers.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "dialogs/common/WaitCursor.h"
#include "dialogs/share/ShareModel.h"
#include "links/AttachEvent.h"
#include "links/ItemLookup.h"
#include "links/PublicModules.h"
#include "platform/ado/Recordset.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora::dialogs {

namespace {

constexpr int listWidth = 4800;

} // namespace

ShareAppGroup::ShareAppGroup(DialogContext& state)
    : state_(state), form_("ShareAppGroup"), tab_(form_.add<controls::TabControl>("SSTab1", -1, 2)),
      label2_(form_.add<controls::Label>("Label2")), label3_(form_.add<controls::Label>("Label3")),
      left_(form_.add<controls::ListView>("ListViewLeft")),
      right_(form_.add<controls::ListView>("ListViewRight")),
      ok_(form_.add<controls::CommandButton>("OK")),
      leftPlus_(form_.add<controls::ListView>("ListViewLeftPlus")),
      rightPlus_(form_.add<controls::ListView>("ListViewRightPlus")),
      search_(form_.add<controls::CommandButton>("cmdSearch")),
      prop_(form_.add<controls::CommandButton>("cmdProp")),
      shareEvent_(form_.add<controls::CheckBox>("checkShareEvent")),
      attach_(form_.add<controls::CommandButton>("attachEventtoContact")),
      done_(form_.add<controls::Label>("doneTab")),
      cancel_(form_.add<controls::CommandButton>("cmdCancel")),
      groups_(left_, right_, groupIcon, CopyShareListRow),
      contacts_(leftPlus_, rightPlus_, contactIcon) {
    form_.setCaption("分享与绑定事件");
    tab_.setTabCaption(0, "分享事件");
    tab_.setTabCaption(1, "绑定到联系人");
    label2_.setCaption("可分享的组:");
    label3_.setCaption("分享的组:");
    ok_.setCaption("确定");
    search_.setCaption("查找联系人. . .");
    prop_.setCaption("属性...");
    shareEvent_.setCaption("随联系人分享");
    attach_.setCaption("确定");
    done_.setCaption("绑定成功!");
    cancel_.setCaption("关闭");
    for (auto* list : {&left_, &right_, &leftPlus_, &rightPlus_})
        list->setWidth(listWidth);
    groups_.wireOn(form_, "cmdMoveFields", [this](int, MoveResult result) {
        if (result.changed) sharesChanged_ = true;
        if (result.ran) ok_.setEnabled(true);
    });
    contacts_.wireOn(form_, "cmdMoveFieldsPlus", [this](int, MoveResult) { afterContactMove(); });
    subscriptions_.push_back(form_.Load.subscribe([this] { onLoad(); }));
    subscriptions_.push_back(form_.Unload.subscribe([this](int&) { onUnload(); }));
    subscriptions_.push_back(ok_.Click.subscribe([this] { onOk(); }));
    subscriptions_.push_back(attach_.Click.subscribe([this] { onAttach(); }));
    subscriptions_.push_back(shareEvent_.Click.subscribe([this] {
        if (!attach_.Enabled()) attach_.setEnabled(true);
        done_.setVisible(false);
    }));
    subscriptions_.push_back(search_.Click.subscribe([this] {
        done_.setVisible(false);
        state_.searchTarget = &leftPlus_;
        contactSearch().Show(true, &form_);
    }));
    subscriptions_.push_back(prop_.Click.subscribe([this] { showSelectedContact(); }));
    subscriptions_.push_back(rightPlus_.DblClick.subscribe([this] {
        if (rightPlus_.ListItems().Count() > 0) showSelectedContact();
    }));
    subscriptions_.push_back(cancel_.Click.subscribe([this] { form_.unload(); }));
    subscriptions_.push_back(closeOnEscapeFromAnyControl(form_));
    form_.keepAsDesigned();
}

DialogSearch& ShareAppGroup::contactSearch() {
    if (!search_dialog_) search_dialog_ = std::make_unique<DialogSearch>(state_);
    return *search_dialog_;
}

void ShareAppGroup::onLoad() {
    state_.activeDialog = dialogShareAppointment;
    sharesChanged_ = false;
    const int saved = state_.ui.calendarTab;
    if (saved >= 0 && saved < tab_.Tabs() && tab_.TabEnabled(saved))
        tab_.setTab(saved);
    else
        tab_.setTab(tab_.TabEnabled(0) ? 0 : 1);
    entryId_.clear();
    auto explorer = state_.application().ActiveExplorer();
    if (explorer && explorer->Selection().Count() > 0)
        entryId_ = explorer->Selection().Item(1)->EntryID();
    state_.currentUser = getCurrentUser(state_);
    if (!state_.isChinese) {
        tab_.setTabCaption(0, "Share Appointment");
        tab_.setTabCaption(1, "Attach to Contact");
        label2_.setCaption("Available Groups:");
        label3_.setCaption("Share Information With These groups:");
        ok_.setCaption("OK");
        search_.setCaption("Search for Contact. . .");
        prop_.setCaption("Properties. . .");
        shareEvent_.setCaption("Share with contact");
        attach_.setCaption("Attach");
        done_.setCaption("Done!");
        cancel_.setCaption("Close");
    }
    for (auto* list : {&left_, &right_, &leftPlus_, &rightPlus_})
        list->ListItems().Clear();
    applyListLayout(left_, ListLayout::appointmentGroups, state_);
    applyListLayout(right_, ListLayout::appointmentGroups, state_);
    applyListLayout(leftPlus_, ListLayout::contacts, state_);
    applyListLayout(rightPlus_, ListLayout::contacts, state_);
    // The dispatcher switches the share tab off for a user who is not the creator.
    if (tab_.TabEnabled(0)) fillGroupLists(state_, ShareKind::appointment, entryId_, left_, right_);
    ok_.setEnabled(false);
    initAttachTab();
}

void ShareAppGroup::initAttachTab() {
    ignoreErrors([&] {
        ado::Recordset rs;
        rs.Open("Select OutlookContactID,PrivateAccess,ContactId from noteTb where "
                "OutlookAttachID= '" +
                    ado::sqlText(entryId_) + "' and makedelete =false and (creator= '" +
                    ado::sqlText(state_.currentUser) + "' or privateAccess=0)",
                state_.connection());
        if (!rs.IsEOF())
            shareEvent_.setValue(rs.Fields("PrivateAccess").Value().toBool() ? controls::vbUnchecked
                                                                             : controls::vbChecked);
        addLinkedRows(state_, rs, "OutlookContactID", "ContactId", kindContact,
                      {&leftPlus_, &rightPlus_});
    });
    setContactOptions();
    done_.setVisible(false);
    attach_.setEnabled(false);
}

void ShareAppGroup::setContactOptions() {
    const bool any = rightPlus_.ListItems().Count() > 0;
    prop_.setEnabled(any);
    if (!any) shareEvent_.setValue(controls::vbUnchecked);
    shareEvent_.setEnabled(any);
}

void ShareAppGroup::afterContactMove() {
    attach_.setEnabled(true);
    done_.setVisible(false);
    setContactOptions();
}

void ShareAppGroup::onOk() {
    if (tab_.Tab() == 0 && sharesChanged_) {
        if (errorTrap(state_, "sapp1>>",
                      [&] { applyGroupShares(state_, ShareKind::appointment, entryId_, right_); }))
            touchSharedItem(state_, 1, entryId_);
    }
    sharesChanged_ = false;
    ok_.setEnabled(false);
}

void ShareAppGroup::onAttach() {
    WaitCursor wait(state_);
    host::ItemPtr appointment;
    ignoreErrors([&] {
        auto folder = getDefaultFolder(state_, kindAppointment);
        appointment = state_.application().GetNamespace("MAPI").GetItemFromID(
            entryId_, folder ? folder->StoreID() : std::string());
    });
    if (!appointment) {
        form_.unload();
        return;
    }
    ignoreErrors([&] {
        auto& links = appointment->Links();
        if (links.Count() == 0 && rightPlus_.ListItems().Count() == 0) {
            attach_.setEnabled(false);
            done_.setVisible(true);
            prop_.setEnabled(false);
            return;
        }
        for (int n = links.Count(); n > 0; --n)
            ignoreErrors([&] { links.Remove(1); });
        auto& ns = state_.application().GetNamespace("MAPI");
        for (int i = 1; i <= rightPlus_.ListItems().Count(); ++i)
            ignoreErrors([&] {
                if (auto contact = ns.GetItemFromID(rightPlus_.ListItems().Item(i).Key()))
                    links.Add(contact);
            });
        ignoreErrors([&] {
            state_.skipNextItemEvent = true;
            appointment->Save();
        });
        if (leftPlus_.ListItems().Count() > 0) {
            attach_.setEnabled(false);
            done_.setVisible(true);
            prop_.setEnabled(true);
        } else {
            prop_.setEnabled(false);
        }
        ignoreErrors([&] {
            if (!state_.eventLinks) throw std::runtime_error("The appointment links are not ready");
            state_.eventLinks->attachEventtoContactForListView(*appointment, rightPlus_,
                                                               shareEvent_.checked());
        });
    });
}

void ShareAppGroup::showSelectedContact() {
    auto* row = rightPlus_.SelectedItem();
    if (!row || !row->Selected()) return;
    WaitCursor wait(state_);
    showItem(state_, row->Key(), kindContact);
}

void ShareAppGroup::onUnload() {
    state_.activeDialog = dialogNone;
    sharesChanged_ = false;
    state_.ui.calendarTab = static_cast<std::int16_t>(tab_.Tab());
}

} // namespace velmora::dialogs

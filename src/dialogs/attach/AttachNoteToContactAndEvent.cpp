// The attach-note dialog's sequences: opening with the note's recorded links, the move buttons
// and options of both tabs, attaching to contacts and to events, opening a chosen item, closing.
#include "dialogs/attach/AttachNoteToContactAndEvent.h"

#include "dialogs/common/ListFillers.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "dialogs/common/WaitCursor.h"
#include "links/attachNote.h"
#include "links/ItemLookup.h"
#include "links/PublicModules.h"
#include "platform/ado/Recordset.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

#include <stdexcept>

namespace velmora::dialogs {

namespace {

constexpr int listWidth = 4800;

struct CaptionRow {
    const char* control;
    const char* english;
    const char* chinese;
};

// The captions of both languages; the form carries the Chinese ones until it first loads.
constexpr CaptionRow captionRows[] = {
    {"cmdSearch", "Search for Contact. . .", "查找联系人. . ."},
    {"cmdProp1", "Properties. . .", "属性. . ."},
    {"checkNoteShare", "Share with contact", "随联系人分享"},
    {"cmdNotetoContact", "Attach", "确定"},
    {"doneTab1", "Done!", "绑定成功!"},
    {"cmdSearchPlus", "Search for Event. . .", "查找事件. . ."},
    {"cmdProp2", "Properties. . .", "属性. . ."},
    {"cmdNotetoEvent", "Attach", "确定"},
    {"doneTab2", "Done!", "绑定成功!"},
    {"cmdClose", "Close", "关闭"},
};

constexpr CaptionRow tabCaptions[] = {
    {"", "Attach to Contact", "绑定到联系人"},
    {"", "Attach to Event", "绑定到事件"},
};

} // namespace

AttachNoteToContactAndEvent::AttachNoteToContactAndEvent(DialogContext& state)
    : state_(state), form_("AttachNoteToContactAndEvent"),
      tab_(form_.add<controls::TabControl>("SSTabNote", -1, 2)),
      left_(form_.add<controls::ListView>("ListViewLeft")),
      right_(form_.add<controls::ListView>("ListViewRight")),
      search_(form_.add<controls::CommandButton>("cmdSearch")),
      prop1_(form_.add<controls::CommandButton>("cmdProp1")),
      share_(form_.add<controls::CheckBox>("checkNoteShare")),
      toContact_(form_.add<controls::CommandButton>("cmdNotetoContact")),
      done1_(form_.add<controls::Label>("doneTab1")),
      leftPlus_(form_.add<controls::ListView>("ListViewLeftPlus")),
      rightPlus_(form_.add<controls::ListView>("ListViewRightPlus")),
      searchPlus_(form_.add<controls::CommandButton>("cmdSearchPlus")),
      prop2_(form_.add<controls::CommandButton>("cmdProp2")),
      toEvent_(form_.add<controls::CommandButton>("cmdNotetoEvent")),
      done2_(form_.add<controls::Label>("doneTab2")),
      close_(form_.add<controls::CommandButton>("cmdClose")), contacts_(left_, right_, contactIcon),
      events_(leftPlus_, rightPlus_, eventIcon) {
    form_.setCaption("绑定备忘录");
    setCaptions();
    for (auto* list : {&left_, &right_, &leftPlus_, &rightPlus_})
        list->setWidth(listWidth);

    contacts_.wireOn(form_, "cmdMoveFields", [this](int, MoveResult) { contactsMoved(); });
    events_.wireOn(form_, "cmdMoveFieldsPlus", [this](int, MoveResult) { eventsMoved(); });
    auto on = [this](host::EventSource<>& source, std::function<void()> handler) {
        subscriptions_.push_back(source.subscribe(std::move(handler)));
    };
    subscriptions_.push_back(form_.Load.subscribe([this] { onLoad(); }));
    subscriptions_.push_back(form_.Unload.subscribe([this](int&) { onUnload(); }));
    subscriptions_.push_back(closeOnEscapeFromAnyControl(form_));
    on(close_.Click, [this] { form_.unload(); });

    on(share_.Click, [this] {
        toContact_.setEnabled(true);
        done1_.setVisible(false);
    });
    on(toContact_.Click,
       [this] { errorTrap(state_, "cmdNotetoContact :", [&] { attachToContacts(); }); });
    on(search_.Click, [this] {
        state_.searchTarget = &left_;
        contactSearch().Show(true, &form_);
    });
    on(prop1_.Click, [this] {
        showChosen(right_, kindContact, "Please select a contact item！",
                   "请先择一个要显示的联系人！");
    });
    on(right_.DblClick, [this] {
        if (right_.SelectedItem()) showChosen(right_, kindContact, "", "");
    });

    on(toEvent_.Click,
       [this] { errorTrap(state_, "cmdNotetoEvent :", [&] { attachToEvents(); }); });
    on(searchPlus_.Click, [this] {
        if (done2_.Visible()) done2_.setVisible(false);
        state_.searchTarget = &leftPlus_;
        eventSearch().Show(true, &form_);
    });
    on(prop2_.Click, [this] {
        showChosen(rightPlus_, kindAppointment, "Please select a calendar item！",
                   "请先择一个要显示的日历！");
    });
    on(rightPlus_.DblClick, [this] {
        if (rightPlus_.SelectedItem()) showChosen(rightPlus_, kindAppointment, "", "");
    });
    form_.keepAsDesigned();
}

DialogSearch& AttachNoteToContactAndEvent::contactSearch() {
    if (!contactSearch_) contactSearch_ = std::make_unique<DialogSearch>(state_);
    return *contactSearch_;
}

DialogSearchPlus& AttachNoteToContactAndEvent::eventSearch() {
    if (!eventSearch_) eventSearch_ = std::make_unique<DialogSearchPlus>(state_);
    return *eventSearch_;
}

attachNote& AttachNoteToContactAndEvent::noteLinks() const {
    if (!state_.noteLinks) throw std::runtime_error("The note links are not ready");
    return *state_.noteLinks;
}

std::string AttachNoteToContactAndEvent::storeIdOf(std::int16_t kind) {
    const auto folder = getDefaultFolder(state_, kind);
    return folder ? folder->StoreID() : std::string();
}

void AttachNoteToContactAndEvent::setCaptions() {
    const bool chinese = state_.isChinese;
    for (const CaptionRow& row : captionRows)
        form_.find(row.control)->setCaption(chinese ? row.chinese : row.english);
    for (int i = 0; i < 2; ++i)
        tab_.setTabCaption(i, chinese ? tabCaptions[i].chinese : tabCaptions[i].english);
}

// ---- Opening ----

void AttachNoteToContactAndEvent::onLoad() {
    state_.activeDialog = dialogAttachNote;
    eventsChanged_ = false;
    const int saved = state_.ui.noteTab;
    tab_.setTab(saved >= 0 && saved < tab_.Tabs() ? saved : 0);

    note_.reset();
    noteId_.clear();
    // The dispatcher opens the dialog only over a selected note; anything else leaves it empty.
    ignoreErrors([&] {
        auto explorer = state_.application().ActiveExplorer();
        if (!explorer || explorer->Selection().Count() == 0) return;
        auto first = explorer->Selection().Item(1);
        if (!first || first->Class() != host::olNote) return;
        noteId_ = first->EntryID();
        note_ = first;
    });

    setCaptions();
    applyListLayout(left_, ListLayout::contacts, state_);
    applyListLayout(right_, ListLayout::contacts, state_);
    applyListLayout(leftPlus_, ListLayout::events, state_);
    applyListLayout(rightPlus_, ListLayout::events, state_);
    iniAttachNoteToContact();
    iniAttachNoteToEvent();
    close_.setTabIndex(0);
}

void AttachNoteToContactAndEvent::iniAttachNoteToContact() {
    for (auto* list : {&left_, &right_})
        list->ListItems().Clear();
    hadContactLinks_ = false;
    bool shared = false;
    errorTrap(state_, "iniAttachNoteToContact :", [&] {
        if (!note_) throw host::HostError("No note is selected");
        state_.currentUser = getCurrentUser(state_);
        ado::Recordset rs;
        rs.Open("Select OutlookContactID,PrivateAccess,contactID from noteTb where "
                "OutlookAttachID= '" +
                    ado::sqlText(noteId_) + "' and MakeDelete = false and (creator='" +
                    ado::sqlText(state_.currentUser) + "' Or privateAccess =0)",
                state_.connection());
        hadContactLinks_ = !rs.IsEOF();
        if (hadContactLinks_) shared = !rs.Fields("PrivateAccess").Value().toBool();
        addLinkedRows(state_, rs, "OutlookContactID", "contactID", kindContact, {&left_, &right_});
    });
    // The options follow the stored links, listed or not: their privacy is what the user sees.
    setButtonStatus(contactsTab, hadContactLinks_);
    if (hadContactLinks_) share_.setValue(shared ? controls::vbChecked : controls::vbUnchecked);
    // Setting the tick raises Click, which enables the button; it starts disabled.
    toContact_.setEnabled(false);
    done1_.setVisible(false);
}

void AttachNoteToContactAndEvent::iniAttachNoteToEvent() {
    for (auto* list : {&leftPlus_, &rightPlus_})
        list->ListItems().Clear();
    errorTrap(state_, "iniAttachNoteToEvent :", [&] {
        if (!note_) throw host::HostError("No note is selected");
        ado::Recordset rs;
        rs.Open("Select OutlookApptID,Creator,contactId from ToEvent where OutlookEmailID= '" +
                    ado::sqlText(noteId_) + "' and makedelete =false",
                state_.connection());
        addLinkedRows(state_, rs, "OutlookApptID", "contactId", kindAppointment,
                      {&leftPlus_, &rightPlus_});
    });
    setButtonStatus(eventsTab, rightPlus_.ListItems().Count() > 0);
    toEvent_.setEnabled(false);
    done2_.setVisible(false);
}

// ---- Options and moves ----

void AttachNoteToContactAndEvent::setButtonStatus(Tab tab, bool enabled) {
    if (tab == eventsTab) {
        prop2_.setEnabled(enabled);
        return;
    }
    if (!enabled) share_.setValue(controls::vbUnchecked);
    share_.setEnabled(enabled);
    prop1_.setEnabled(enabled);
}

void AttachNoteToContactAndEvent::contactsMoved() {
    setButtonStatus(contactsTab, right_.ListItems().Count() > 0);
    toContact_.setEnabled(true);
    done1_.setVisible(false);
}

void AttachNoteToContactAndEvent::eventsMoved() {
    eventsChanged_ = true;
    setButtonStatus(eventsTab, rightPlus_.ListItems().Count() > 0);
    toEvent_.setEnabled(true);
    done2_.setVisible(false);
}

// ---- Attaching ----

void AttachNoteToContactAndEvent::attachToContacts() {
    WaitCursor wait(state_);
    toContact_.setEnabled(false);
    if (!note_) return;
    auto& links = note_->Links();
    auto& rows = right_.ListItems();
    if (rows.Count() == 0 && links.Count() == 0) return;

    for (int n = links.Count(); n > 0; --n)
        ignoreErrors([&] { links.Remove(1); });
    // Only rows that name an Outlook contact become the note's Outlook links; the store records
    // every row the user chose.
    const std::string storeId = storeIdOf(kindContact);
    auto& ns = state_.application().GetNamespace("MAPI");
    for (const std::string& key : listKeyArray(right_))
        ignoreErrors([&] {
            if (key.empty() || IsGeneratedRowKey(key)) return;
            auto contact = ns.GetItemFromID(key, storeId);
            if (contact && contact->Class() == host::olContact) links.Add(contact);
        });
    state_.skipNextItemEvent = true;
    note_->Save();
    noteLinks().noteToContactForListView(*note_, right_, share_.checked());
    hadContactLinks_ = rows.Count() > 0;
    done1_.setVisible(true);
}

void AttachNoteToContactAndEvent::attachToEvents() {
    if (!note_) return;
    if (!eventsChanged_) {
        toEvent_.setEnabled(false);
        done2_.setVisible(true);
        return;
    }
    // Saved again unchanged, so that the host marks the note modified.
    state_.skipNextItemEvent = true;
    note_->Set("Body", note_->Get("Body"));
    note_->Save();

    WaitCursor wait(state_);
    toEvent_.setEnabled(false);
    const std::string key = ado::sqlText(noteId_);
    ado::Connection& connection = state_.connection();
    connection.Execute("update toEvent set makedelete=True where outlookEmailID='" + key + "'");
    if (rightPlus_.ListItems().Count() == 0) {
        ado::Recordset rs;
        rs.Open("Select OutlookContactID from noteTb where OutlookAttachID= '" + key +
                    "' and makedelete=False and (creator= '" + ado::sqlText(state_.currentUser) +
                    "' or privateAccess=0)",
                connection, ado::adOpenKeyset);
        const long count = rs.RecordCount();
        rs.Close();
        connection.Execute(count > 0
                               ? "update noteHistory set RefCount='" + std::to_string(count) +
                                     "' where outlooknoteid = '" + key + "'"
                               : "delete from noteHistory where outlooknoteid = '" + key + "'");
    } else {
        noteLinks().noteToEvent(*note_, listKeyArray(rightPlus_), storeIdOf(kindAppointment));
    }
    done2_.setVisible(true);
}

void AttachNoteToContactAndEvent::showChosen(controls::ListView& list, std::int16_t kind,
                                             const char* english, const char* chinese) {
    const controls::ListItem* row = list.SelectedItem();
    if (!row) {
        showInformation(state_, state_.isChinese ? chinese : english);
        return;
    }
    WaitCursor wait(state_);
    showItem(state_, row->Key(), kind);
}

// ---- Closing ----

void AttachNoteToContactAndEvent::onUnload() {
    ignoreErrors([&] {
        state_.activeDialog = dialogNone;
        state_.ui.noteTab = static_cast<std::int16_t>(tab_.Tab());
    });
    note_.reset();
}

} // namespace velmora::dialogs

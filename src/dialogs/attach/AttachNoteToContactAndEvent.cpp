// The attach-note dialog's sequences: opening with the note's recorded links, the move buttons
// and options of both tabs, attaching to contacts and to events, opening a chosen item, closing.
#include "dialogs/attach/AttachNoteToContactAndEvent.h"

#include "dialogs/common/FormDesign.h"
#include "dialogs/common/ListFillers.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "dialogs/common/WaitCursor.h"
#include "links/attachNote.h"
#include "links/ItemLookup.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

#include <stdexcept>

namespace velmora::dialogs {

namespace {

// The tab control comes first in the form, then the design's controls.
constexpr text::Bilingual tabCaptions[] = {
    {.english = "Attach to Contact", .chinese = "绑定到联系人"},
    {.english = "Attach to Event", .chinese = "绑定到事件"},
};

using enum ControlKind;

// The controls in the form's order with their captions in both languages; the form carries
// those of the language at its making until it first loads.
constexpr ControlDesign design[] = {
    {List, "ListViewLeft"},
    {List, "ListViewRight"},
    {Button, "cmdSearch", -1, {.english = "Search for Contact. . .", .chinese = "查找联系人. . ."}},
    {Button, "cmdProp1", -1, {.english = "Properties. . .", .chinese = "属性. . ."}},
    {Check, "checkNoteShare", -1, {.english = "Share with contact", .chinese = "随联系人分享"}},
    {Button, "cmdNotetoContact", -1, {.english = "Attach", .chinese = "确定"}},
    {Label, "doneTab1", -1, {.english = "Done!", .chinese = "绑定成功!"}},
    {List, "ListViewLeftPlus"},
    {List, "ListViewRightPlus"},
    {Button, "cmdSearchPlus", -1, {.english = "Search for Event. . .", .chinese = "查找事件. . ."}},
    {Button, "cmdProp2", -1, {.english = "Properties. . .", .chinese = "属性. . ."}},
    {Button, "cmdNotetoEvent", -1, {.english = "Attach", .chinese = "确定"}},
    {Label, "doneTab2", -1, {.english = "Done!", .chinese = "绑定成功!"}},
    {Button, "cmdClose", -1, {.english = "Close", .chinese = "关闭"}},
};

controls::TabControl& designForm(controls::Form& form) {
    auto& tab = form.add<controls::TabControl>("SSTabNote", -1, 2);
    addControls(form, design);
    return tab;
}

} // namespace

AttachNoteToContactAndEvent::AttachNoteToContactAndEvent(DialogContext& state)
    : DialogForm(state, "AttachNoteToContactAndEvent"), tab_(designForm(form_)),
      left_(form_.get<controls::ListView>("ListViewLeft")),
      right_(form_.get<controls::ListView>("ListViewRight")),
      prop1_(form_.get<controls::CommandButton>("cmdProp1")),
      share_(form_.get<controls::CheckBox>("checkNoteShare")),
      toContact_(form_.get<controls::CommandButton>("cmdNotetoContact")),
      done1_(form_.get<controls::Label>("doneTab1")),
      leftPlus_(form_.get<controls::ListView>("ListViewLeftPlus")),
      rightPlus_(form_.get<controls::ListView>("ListViewRightPlus")),
      prop2_(form_.get<controls::CommandButton>("cmdProp2")),
      toEvent_(form_.get<controls::CommandButton>("cmdNotetoEvent")),
      done2_(form_.get<controls::Label>("doneTab2")),
      close_(form_.get<controls::CommandButton>("cmdClose")), contacts_(left_, right_, contactIcon),
      events_(leftPlus_, rightPlus_, eventIcon) {
    form_.setCaption("绑定备忘录");
    setCaptions();
    for (auto* list : {&left_, &right_, &leftPlus_, &rightPlus_})
        list->setWidth(pickerListWidth);
    contacts_.wireOn(form_, "cmdMoveFields", [this](int, MoveResult) { contactsMoved(); });
    events_.wireOn(form_, "cmdMoveFieldsPlus", [this](int, MoveResult) { eventsMoved(); });
    using Note = AttachNoteToContactAndEvent;
    using enum FormEvent;
    wire({
        {"cmdClose", Click, {*this, &Note::cmdClose_Click}},
        {"checkNoteShare", Click, {*this, &Note::checkNoteShare_Click}},
        {"cmdNotetoContact", Click, {*this, &Note::cmdNotetoContact_Click}},
        {"cmdSearch", Click, {*this, &Note::cmdSearch_Click}},
        {"cmdProp1", Click, {*this, &Note::cmdProp1_Click}},
        {"ListViewRight", DblClick, {*this, &Note::ListViewRight_DblClick}},
        {"cmdNotetoEvent", Click, {*this, &Note::cmdNotetoEvent_Click}},
        {"cmdSearchPlus", Click, {*this, &Note::cmdSearchPlus_Click}},
        {"cmdProp2", Click, {*this, &Note::cmdProp2_Click}},
        {"ListViewRightPlus", DblClick, {*this, &Note::ListViewRightPlus_DblClick}},
    });
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
    velmora::setCaptions(form_, design, state_.isChinese);
    for (int i = 0; i < 2; ++i)
        tab_.setTabCaption(i, say(state_, tabCaptions[i]));
}

// ---- Opening ----

void AttachNoteToContactAndEvent::Form_Load() {
    state_.activeDialog = dialogAttachNote;
    eventsChanged_ = false;
    const int saved = state_.ui.noteTab;
    tab_.setTab(saved >= 0 && saved < tab_.Tabs() ? saved : 0);
    takeSelectedNote();
    setCaptions();
    applyListLayout(left_, ListLayout::contacts, state_);
    applyListLayout(right_, ListLayout::contacts, state_);
    applyListLayout(leftPlus_, ListLayout::events, state_);
    applyListLayout(rightPlus_, ListLayout::events, state_);
    iniAttachNoteToContact();
    iniAttachNoteToEvent();
    close_.setTabIndex(0);
}

// The dispatcher opens the dialog only over a selected note; anything else leaves it empty.
void AttachNoteToContactAndEvent::takeSelectedNote() {
    note_.reset();
    noteId_.clear();
    ignoreErrors([&] {
        auto explorer = state_.application().ActiveExplorer();
        if (!explorer || explorer->Selection().Count() == 0) return;
        auto first = explorer->Selection().Item(1);
        if (!first || first->Class() != host::olNote) return;
        noteId_ = first->EntryID();
        note_ = first;
    });
}

void AttachNoteToContactAndEvent::listLinks(const char* tag, controls::ListView& left,
                                            controls::ListView& right,
                                            const std::function<void(ado::Recordset&)>& open,
                                            const char* idColumn, const char* serverIdColumn,
                                            std::int16_t kind) {
    for (auto* list : {&left, &right})
        list->ListItems().Clear();
    errorTrap(state_, tag, [&] {
        if (!note_) throw host::HostError("No note is selected");
        ado::Recordset rs;
        open(rs);
        addLinkedRows(state_, rs, idColumn, serverIdColumn, kind, {&left, &right});
    });
}

void AttachNoteToContactAndEvent::iniAttachNoteToContact() {
    hadContactLinks_ = false;
    bool shared = false;
    listLinks(
        "iniAttachNoteToContact :", left_, right_,
        [&](ado::Recordset& rs) {
            state_.currentUser = getCurrentUser(state_);
            rs.Open("Select OutlookContactID,PrivateAccess,contactID from noteTb where "
                    "OutlookAttachID= '" +
                        ado::sqlText(noteId_) + "' and MakeDelete = false and (creator='" +
                        ado::sqlText(state_.currentUser) + "' Or privateAccess =0)",
                    state_.connection());
            hadContactLinks_ = !rs.IsEOF();
            if (hadContactLinks_) shared = !rs.Fields("PrivateAccess").Value().toBool();
        },
        "OutlookContactID", "contactID", kindContact);
    // The options follow the stored links, listed or not: their privacy is what the user sees.
    setButtonStatus(contactsTab, hadContactLinks_);
    if (hadContactLinks_) share_.setValue(shared ? controls::vbChecked : controls::vbUnchecked);
    // Setting the tick raises Click, which enables the button; it starts disabled.
    toContact_.setEnabled(false);
    done1_.setVisible(false);
}

void AttachNoteToContactAndEvent::iniAttachNoteToEvent() {
    listLinks(
        "iniAttachNoteToEvent :", leftPlus_, rightPlus_,
        [&](ado::Recordset& rs) {
            rs.Open("Select OutlookApptID,Creator,contactId from ToEvent where OutlookEmailID= '" +
                        ado::sqlText(noteId_) + "' and makedelete =false",
                    state_.connection());
        },
        "OutlookApptID", "contactId", kindAppointment);
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

void AttachNoteToContactAndEvent::checkNoteShare_Click() {
    toContact_.setEnabled(true);
    done1_.setVisible(false);
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

void AttachNoteToContactAndEvent::cmdNotetoContact_Click() {
    errorTrap(state_, "cmdNotetoContact :", [&] { attachToContacts(); });
}

void AttachNoteToContactAndEvent::attachToContacts() {
    WaitCursor wait(state_);
    toContact_.setEnabled(false);
    if (!note_) return;
    auto& links = note_->Links();
    if (right_.ListItems().Count() == 0 && links.Count() == 0) return;

    const bool written = completedCleanly(state_, [&] {
        removeAllLinks(links);
        // Only rows that name an Outlook contact become the note's Outlook links; the store
        // records every row the user chose.
        linkListedContacts(state_, links, right_, storeIdOf(kindContact), true);
        state_.skipNextItemEvent = true;
        note_->Save();
        noteLinks().noteToContactForListView(*note_, right_, share_.checked());
    });
    hadContactLinks_ = right_.ListItems().Count() > 0;
    // "Done!" only over rows written; a failed step has said why already.
    done1_.setVisible(written);
}

void AttachNoteToContactAndEvent::cmdNotetoEvent_Click() {
    errorTrap(state_, "cmdNotetoEvent :", [&] { attachToEvents(); });
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
    const bool written = completedCleanly(state_, [&] {
        state_.connection().Execute("update toEvent set makedelete=True where outlookEmailID='" +
                                    key + "'");
        if (rightPlus_.ListItems().Count() == 0)
            settleHistory(key);
        else
            noteLinks().noteToEvent(*note_, listKeyArray(rightPlus_), storeIdOf(kindAppointment));
    });
    done2_.setVisible(written);
}

void AttachNoteToContactAndEvent::settleHistory(const std::string& key) {
    ado::Connection& connection = state_.connection();
    ado::Recordset rs;
    rs.Open("Select OutlookContactID from noteTb where OutlookAttachID= '" + key +
                "' and makedelete=False and (creator= '" + ado::sqlText(state_.currentUser) +
                "' or privateAccess=0)",
            connection, ado::adOpenKeyset);
    const long count = rs.RecordCount();
    rs.Close();
    connection.Execute(count > 0 ? "update noteHistory set RefCount='" + std::to_string(count) +
                                       "' where outlooknoteid = '" + key + "'"
                                 : "delete from noteHistory where outlooknoteid = '" + key + "'");
}

// ---- Searching and opening ----

void AttachNoteToContactAndEvent::cmdSearch_Click() {
    state_.searchTarget = &left_;
    contactSearch().Show(true, &form_);
}

void AttachNoteToContactAndEvent::cmdSearchPlus_Click() {
    if (done2_.Visible()) done2_.setVisible(false);
    state_.searchTarget = &leftPlus_;
    eventSearch().Show(true, &form_);
}

void AttachNoteToContactAndEvent::cmdProp1_Click() {
    showChosen(
        right_, kindContact,
        {.english = "Please select a contact item！", .chinese = "请先择一个要显示的联系人！"});
}

void AttachNoteToContactAndEvent::ListViewRight_DblClick() {
    if (right_.SelectedItem()) showChosen(right_, kindContact, {.english = "", .chinese = ""});
}

void AttachNoteToContactAndEvent::cmdProp2_Click() {
    showChosen(
        rightPlus_, kindAppointment,
        {.english = "Please select a calendar item！", .chinese = "请先择一个要显示的日历！"});
}

void AttachNoteToContactAndEvent::ListViewRightPlus_DblClick() {
    if (rightPlus_.SelectedItem())
        showChosen(rightPlus_, kindAppointment, {.english = "", .chinese = ""});
}

void AttachNoteToContactAndEvent::showChosen(controls::ListView& list, std::int16_t kind,
                                             const text::Bilingual& noneChosen) {
    const controls::ListItem* row = list.SelectedItem();
    if (!row) {
        showInformation(state_, say(state_, noneChosen));
        return;
    }
    WaitCursor wait(state_);
    showItem(state_, row->Key(), kind);
}

// ---- Closing ----

void AttachNoteToContactAndEvent::cmdClose_Click() {
    form_.unload();
}

void AttachNoteToContactAndEvent::Form_Unload() {
    ignoreErrors([&] {
        state_.activeDialog = dialogNone;
        state_.ui.noteTab = static_cast<std::int16_t>(tab_.Tab());
    });
    note_.reset();
}

} // namespace velmora::dialogs

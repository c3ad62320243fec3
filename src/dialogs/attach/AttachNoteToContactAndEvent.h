// The attach-note dialog: links the note selected in the explorer to contacts (first tab) and to
// events (second tab). Each tab's Attach button applies its list without closing the dialog.
#pragma once

#include "dialogs/common/DialogForm.h"
#include "dialogs/common/ListPair.h"
#include "dialogs/search/DialogSearch.h"
#include "platform/ado/Recordset.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TabControl.h"
#include "platform/text/Bilingual.h"

#include <functional>
#include <memory>
#include <string>

namespace velmora {
class attachNote;
}

namespace velmora::dialogs {

class AttachNoteToContactAndEvent : public DialogForm {
  public:
    explicit AttachNoteToContactAndEvent(DialogContext& state);

    // The searches opened from the two tabs; created on first use.
    DialogSearch& contactSearch();
    DialogSearchPlus& eventSearch();

    // The note taken when the dialog loaded; null once it is closed.
    host::ItemPtr note() const { return note_; }
    bool eventsChanged() const { return eventsChanged_; }

  private:
    enum Tab { contactsTab = 0, eventsTab = 1 };

    void Form_Load() override;
    void Form_Unload() override;
    void cmdClose_Click();
    void checkNoteShare_Click();
    void cmdNotetoContact_Click();
    void cmdSearch_Click();
    void cmdProp1_Click();
    void ListViewRight_DblClick();
    void cmdNotetoEvent_Click();
    void cmdSearchPlus_Click();
    void cmdProp2_Click();
    void ListViewRightPlus_DblClick();

    void setCaptions();
    attachNote& noteLinks() const;
    std::string storeIdOf(std::int16_t kind);
    void takeSelectedNote();

    // Clears both lists of a tab and lists the rows of its link query; open runs the query and
    // reads what it needs of the first row. A failure, no note included, is shown under tag.
    void listLinks(const char* tag, controls::ListView& left, controls::ListView& right,
                   const std::function<void(ado::Recordset&)>& open, const char* idColumn,
                   const char* serverIdColumn, std::int16_t kind);
    void iniAttachNoteToContact();
    void iniAttachNoteToEvent();
    void setButtonStatus(Tab tab, bool enabled);
    void contactsMoved();
    void eventsMoved();
    void attachToContacts();
    void attachToEvents();
    // With no event left, the note's history keeps only its contact links, or goes.
    void settleHistory(const std::string& key);
    void showChosen(controls::ListView& list, std::int16_t kind, const text::Bilingual& noneChosen);

    controls::TabControl& tab_;
    controls::ListView& left_;
    controls::ListView& right_;
    controls::CommandButton& prop1_;
    controls::CheckBox& share_;
    controls::CommandButton& toContact_;
    controls::Label& done1_;
    controls::ListView& leftPlus_;
    controls::ListView& rightPlus_;
    controls::CommandButton& prop2_;
    controls::CommandButton& toEvent_;
    controls::Label& done2_;
    controls::CommandButton& close_;

    ListPair contacts_;
    ListPair events_;
    std::unique_ptr<DialogSearch> contactSearch_;
    std::unique_ptr<DialogSearchPlus> eventSearch_;

    host::ItemPtr note_;
    std::string noteId_;
    // Whether the note had contact links visible to the user when the dialog loaded.
    bool hadContactLinks_ = false;
    bool eventsChanged_ = false;
};

} // namespace velmora::dialogs

// The contact search dialog of a test session set up for a Contains search of one text in one
// field, as the benchmarks click it: over whatever host the session's add-in works on.
#pragma once

#include "dialogs/search/DialogSearch.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/EntryControls.h"
#include "support/TestSession.h"

#include <string>

class ContactSearch {
  public:
    // The dialog's "In" list: 1 searches the names, 4 the e-mail addresses.
    static constexpr int nameField = 1;
    static constexpr int emailField = 4;

    // Shows the dialog with words typed, "contains" chosen and no time range.
    ContactSearch(velmora::testing::TestSession& session, const std::string& words, int field)
        : dialog_(session.state) {
        using namespace velmora;
        session.state.searchTarget = &target_;
        dialog_.Show();
        dialog_.form().get<controls::TextBox>("searchWords").type(words);
        dialog_.form().get<controls::ComboBox>("inBox").choose(field);
        dialog_.form().get<controls::ComboBox>("comboVague").choose(0);
        dialog_.form().get<controls::ComboBox>("timeBox").choose(0);
    }

    // Clicks Search and answers how many contacts the dialog lists.
    int run() {
        using namespace velmora;
        dialog_.form().get<controls::CommandButton>("Search").click();
        return dialog_.form().get<controls::ListView>("ListView").ListItems().Count();
    }

  private:
    velmora::controls::ListView target_{"ListViewLeft"};
    velmora::dialogs::DialogSearch dialog_;
};

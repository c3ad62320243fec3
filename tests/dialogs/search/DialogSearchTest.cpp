// Tests of the contact search dialog on the in-memory host: each field and match mode in both
// languages, time ranges, messages, creators, remembered positions, quotes, OK, Apply and Escape.
#include "dialogs/search/DialogSearch.h"

#include "platform/controls/KeyCodes.h"
#include "platform/controls/Label.h"
#include "SearchFixture.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::fixedNow;
using testing::keysOf;
using testing::runSearch;
using testing::TestSession;

class ContactSearch : public ::testing::Test {
  protected:
    ContactSearch() {
        s.state.isChinese = false;
        s.state.platform.now = [] { return fixedNow(); };
    }
    host::ItemPtr contact(const std::map<std::string, host::Variant>& properties,
                          host::DateTime created = fixedNow()) {
        return testing::makeItem(s, host::olContactItem, properties, created);
    }
    dialogs::DialogSearch& open() {
        s.state.searchTarget = &target;
        dialog.Show();
        return dialog;
    }
    controls::Form& form() { return dialog.form(); }
    controls::ListView& results() { return form().get<controls::ListView>("ListView"); }

    TestSession s;
    controls::ListView target{"ListViewLeft"};
    dialogs::DialogSearch dialog{s.state};
};

TEST_F(ContactSearch, ContainsOnTheNameFieldFindsAnyCaseAndOkAddsTheTickedRowsToTheTarget) {
    const host::ItemPtr ann = contact({{"FirstName", "Joanna"},
                                       {"LastName", "Lee"},
                                       {"FullName", "Joanna Lee"},
                                       {"FileAs", "Lee, Joanna"},
                                       {"Email1Address", "jo@x.example"}});
    const host::ItemPtr hann = contact({{"FirstName", "Tom"},
                                        {"LastName", "HANNAH"},
                                        {"FullName", "Tom Hannah"},
                                        {"Email1Address", "t@x"}});
    contact({{"FirstName", "Bob"}, {"LastName", "Stone"}, {"FullName", "Bob Stone"}});
    open();

    EXPECT_EQ(form().get<controls::Label>("Label1").Caption(), "Search for the Word(s): ");
    EXPECT_EQ(form().get<controls::CommandButton>("Apply").Caption(), "Apply");
    EXPECT_FALSE(form().get<controls::CheckBox>("Check1").Enabled());
    ASSERT_EQ(results().ColumnHeaders().Count(), 6);
    EXPECT_EQ(results().ColumnHeaders().Item(2).text, "Last Name");

    EXPECT_EQ(runSearch(form(), "  aNN ", 1, 0), keysOf({ann, hann}));
    const controls::ListItem& first = results().ListItems().Item(1);
    EXPECT_EQ(first.SubItems(1), "Lee");
    EXPECT_EQ(first.SubItems(2), "Joanna");
    EXPECT_EQ(first.SubItems(3), "Lee, Joanna");
    EXPECT_EQ(first.SubItems(4), "jo@x.example");
    EXPECT_TRUE(s.messages.shown.empty());

    results().checkItem(results().ListItems().Item(2), true);
    form().get<controls::CommandButton>("OK").click();
    EXPECT_FALSE(form().Loaded());
    EXPECT_EQ(s.state.searchTarget, nullptr);
    ASSERT_EQ(target.ListItems().Count(), 1);
    const controls::ListItem& added = target.ListItems().Item(1);
    EXPECT_EQ(added.Key(), hann->EntryID());
    EXPECT_EQ(added.SmallIcon(), 2);
    EXPECT_EQ(added.SubItems(1), hann->Text("FullName"));
    EXPECT_EQ(added.SubItems(2), "t@x");
    EXPECT_EQ(added.SubItems(3), "alice");
}

} // namespace
} // namespace velmora

// Tests of the contact search dialog on the in-memory host: each field and match mode in both
// languages, time ranges, messages, creators, remembered positions, quotes, OK, Apply and Escape.
#include "dialogs/search/DialogSearch.h"

#include "platform/controls/CaptionedControls.h"
#include "platform/controls/KeyCodes.h"
#include "SearchFixture.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::fixedNow;
using testing::keysOf;
using testing::runSearch;

class ContactSearch : public ::testing::Test {
  protected:
    ContactSearch() {
        s.state.isChinese = false;
        s.clock.set(fixedNow());
    }
    host::ItemPtr contact(const std::map<std::string, host::Variant>& properties,
                          host::DateTime created = fixedNow()) {
        return testing::makeItem(s, host::olContactItem, properties, created);
    }
    void open() {
        s.state.searchTarget = &target;
        dialog.Show();
    }
    controls::Form& form() { return dialog.form(); }
    controls::ListView& results() { return form().get<controls::ListView>("ListView"); }
    controls::ComboBox& combo(const char* name) { return form().get<controls::ComboBox>(name); }
    void click(const char* name) { form().get<controls::CommandButton>(name).click(); }

    testing::TestSession s;
    controls::ListView target{"ListViewLeft"};
    dialogs::DialogSearch dialog{s.state};
};

TEST_F(ContactSearch, ContainsOnNamesFindsAnyCaseAndOkAddsTheTickedRowsWithTheirCreators) {
    const host::ItemPtr ann = contact({{"FirstName", "Joanna"},
                                       {"LastName", "Lee"},
                                       {"FileAs", "Lee, Joanna"},
                                       {"Email1Address", "jo@x"}});
    const host::ItemPtr hann =
        contact({{"FirstName", "Tom"}, {"LastName", "HANNAH"}, {"Email1Address", "t@x"}});
    contact({{"FirstName", "Bob"}, {"LastName", "Stone"}});
    s.mapContact(hann->EntryID(), "sales_team_12"); // a never-synchronised contact is alice's
    open();
    EXPECT_EQ(form().get<controls::Label>("Label1").Caption(), "Search for the Word(s): ");
    EXPECT_EQ(results().ColumnHeaders().Item(4).text, "File As");

    EXPECT_EQ(runSearch(form(), "  aNN ", 1, 0), keysOf({ann, hann}));
    EXPECT_EQ(testing::rowTexts(results().ListItems().Item(1)),
              "Lee|Joanna|Lee, Joanna|jo@x|alice");
    EXPECT_TRUE(s.messages.shown.empty());

    results().checkItem(results().ListItems().Item(2), true);
    click("OK");
    EXPECT_FALSE(form().Loaded());
    EXPECT_EQ(s.state.searchTarget, nullptr);
    ASSERT_EQ(target.ListItems().Count(), 1);
    const controls::ListItem& added = target.ListItems().Item(1);
    EXPECT_EQ(added.Key(), hann->EntryID());
    EXPECT_EQ(added.SmallIcon(), 2);
    EXPECT_EQ(added.SubItems(1) + "|" + added.SubItems(2) + "|" + added.SubItems(3),
              hann->Text("FullName") + "|t@x|sales_team");
}

TEST_F(ContactSearch, EachFieldMatchesByContainsAndEquals) {
    const host::ItemPtr a = contact({{"FirstName", "Ann"},
                                     {"FileAs", "Ann at Work"},
                                     {"CompanyName", "Northwind Traders"},
                                     {"HomeAddress", "12 Baker Street"},
                                     {"OtherAddressState", "Kent"},
                                     {"Email2Address", "ann@x.example"},
                                     {"MobileTelephoneNumber", "555-1234"}});
    const host::ItemPtr b = contact({{"FirstName", "Ben"},
                                     {"FileAs", "Ben"},
                                     {"CompanyName", "Northwind"},
                                     {"BusinessAddressPostOfficeBox", "PO 9"},
                                     {"Email3Address", "ann@x.example.org"},
                                     {"Home2TelephoneNumber", "555-9999"}});
    open();
    EXPECT_EQ(runSearch(form(), "AT WORK", 0, 0), keysOf({a}));
    EXPECT_EQ(runSearch(form(), "ann at work", 0, 1), keysOf({a}));
    EXPECT_EQ(runSearch(form(), "northwind", 2, 0), keysOf({a, b}));
    EXPECT_EQ(runSearch(form(), "NORTHWIND", 2, 1), keysOf({b}));
    EXPECT_EQ(runSearch(form(), "baker", 3, 0), keysOf({a}));
    EXPECT_EQ(runSearch(form(), "po 9", 3, 1), keysOf({b}));
    EXPECT_EQ(runSearch(form(), "kent", 3, 1), keysOf({a}));
    EXPECT_EQ(runSearch(form(), "ann@x.example", 4, 0), keysOf({a, b}));
    EXPECT_EQ(runSearch(form(), "ANN@x.example", 4, 1), keysOf({a}));
    EXPECT_EQ(runSearch(form(), "555-", 5, 0), keysOf({a, b}));
    EXPECT_EQ(runSearch(form(), "555-9999", 5, 1), keysOf({b}));
    EXPECT_EQ(runSearch(form(), "ben", 1, 1), keysOf({b}));
    EXPECT_TRUE(s.messages.shown.empty());
    // A partial address is no match in Equals mode.
    EXPECT_TRUE(runSearch(form(), "ann@x", 4, 1).empty());
    EXPECT_EQ(s.messages.lastText(), "No item found.");
    EXPECT_EQ(s.messages.shown.back().style, windows::vbInformation);
}

TEST_F(ContactSearch, ChineseCaptionsListsColumnsAndMessages) {
    s.state.isChinese = true;
    contact({{"FirstName", "王小明"}, {"LastName", "王"}});
    open();
    EXPECT_EQ(form().get<controls::Label>("Label2").Caption(), "要查找的字段: ");
    EXPECT_EQ(form().get<controls::CheckBox>("Check1").Caption(), "全部选中");
    EXPECT_EQ(combo("inBox").List(5), "仅电话号码字段");
    EXPECT_EQ(combo("comboVague").List(1), "等于");
    EXPECT_EQ(combo("selectTime").List(7), "本月");
    EXPECT_EQ(results().ColumnHeaders().Item(6).text, "创建者");
    EXPECT_EQ(runSearch(form(), "小明", 1, 0).size(), 1u);
    EXPECT_TRUE(runSearch(form(), "李", 1, 0).empty());
    EXPECT_EQ(s.messages.lastText(), "找不到符合条件的项目。");
    EXPECT_TRUE(runSearch(form(), "  ", 1, 0).empty());
    EXPECT_EQ(s.messages.lastText(), "查找关键字不能为空。");
}

TEST_F(ContactSearch, TimeRangesAroundAMonthAndWeekBoundary) {
    // Today is Wednesday 1 April 2026: this week began on Sunday 29 March, in the last month.
    using host::makeDate;
    const auto pat = [&](host::DateTime created) {
        return contact({{"FirstName", "Pat"}}, created);
    };
    const host::ItemPtr lastWeekSat = pat(makeDate(2026, 3, 28, 23, 59));
    const host::ItemPtr sunday = pat(makeDate(2026, 3, 29));
    const host::ItemPtr yesterday = pat(makeDate(2026, 3, 31, 23, 59));
    const host::ItemPtr today = pat(makeDate(2026, 4, 1));
    const host::ItemPtr marchFirst = pat(makeDate(2026, 3, 1));
    const host::ItemPtr february = pat(makeDate(2026, 2, 28, 23, 59));
    const host::ItemPtr nextSunday = pat(makeDate(2026, 4, 5));
    const host::ItemPtr sixDaysAgo = pat(makeDate(2026, 3, 26));
    open();
    const auto created = [&](int range) { return runSearch(form(), "pat", 1, 0, 1, range); };
    EXPECT_EQ(created(1), keysOf({yesterday}));
    EXPECT_EQ(created(2), keysOf({today}));
    EXPECT_EQ(created(3), keysOf({lastWeekSat, sunday, yesterday, today, sixDaysAgo}));
    EXPECT_EQ(created(4), keysOf({lastWeekSat, sixDaysAgo}));
    EXPECT_EQ(created(5), keysOf({sunday, yesterday, today}));
    EXPECT_EQ(created(6), keysOf({lastWeekSat, sunday, yesterday, marchFirst, sixDaysAgo}));
    EXPECT_EQ(created(7), keysOf({today, nextSunday}));
    EXPECT_EQ(created(0).size(), 8u);
    // Without a time field the range is not used.
    EXPECT_EQ(runSearch(form(), "pat", 1, 0, 0).size(), 8u);
    EXPECT_FALSE(combo("selectTime").Enabled());
    // Modified: a contact made in February and saved again today.
    s.clock.set(fixedNow());
    february->Save();
    EXPECT_EQ(runSearch(form(), "pat", 1, 0, 2, 2), keysOf({today, february}));
}

TEST_F(ContactSearch, PositionsAreRestoredOnLoadAndSavedOnUnload) {
    s.state.ui = UiIndices{0, 0, 0, 4, 1, 2, 6, 0, 0, 0, 0};
    open();
    EXPECT_EQ(combo("inBox").ListIndex(), 4);
    EXPECT_EQ(combo("comboVague").ListIndex(), 1);
    EXPECT_EQ(combo("timeBox").ListIndex(), 2);
    EXPECT_EQ(combo("selectTime").ListIndex(), 6);
    // Switching between created and modified keeps the chosen range.
    combo("timeBox").choose(1);
    EXPECT_EQ(combo("selectTime").ListIndex(), 6);
    combo("selectTime").choose(0);
    combo("inBox").choose(2);
    click("Cancel");
    EXPECT_FALSE(form().Loaded());
    EXPECT_EQ(s.state.ui.contactSearchField, 2);
    EXPECT_EQ(s.state.ui.contactSearchTime, 1);
    EXPECT_EQ(s.state.ui.contactSearchTimeRange, 7);
    EXPECT_EQ(s.state.ui.eventSearchTimeRange, 0);
}

TEST_F(ContactSearch, QuotesInTheWordsAreSearchedFor) {
    const host::ItemPtr oneil = contact({{"LastName", "O'Neil"}, {"FileAs", "O'Neil \"Jr\""}});
    const host::ItemPtr other = contact({{"LastName", "Oneil"}, {"FileAs", "Say \"hi\""}});
    open();
    EXPECT_EQ(runSearch(form(), "o'neil", 1, 1), keysOf({oneil}));
    EXPECT_EQ(runSearch(form(), "say \"hi\"", 0, 1), keysOf({other}));
    EXPECT_EQ(runSearch(form(), "o'neil \"jr\"", 0, 1), keysOf({oneil}));
    EXPECT_EQ(runSearch(form(), "'ne", 1, 0), keysOf({oneil}));
    EXPECT_TRUE(runSearch(form(), "x' Or [lastname]='oneil", 1, 1).empty());
    EXPECT_EQ(s.messages.lastText(), "No item found.");
    EXPECT_EQ(s.messages.shown.size(), 1u);
}

TEST_F(ContactSearch, EmptyWordsAndFailingHostCallsAreReportedAndTheUserCanSearchAgain) {
    contact({{"FirstName", "Ann"}});
    open();
    ASSERT_EQ(runSearch(form(), "ann", 1, 0).size(), 1u);
    EXPECT_EQ(runSearch(form(), " \t ", 1, 0).size(), 1u); // nothing searched, nothing cleared
    EXPECT_EQ(s.messages.lastText(), "The search words can not be empty.");
    EXPECT_EQ(s.messages.shown.back().style, windows::vbExclamation);

    // A refused filter is reported, then the search ends as any search does: Search comes
    // back and, with no row found, "No item found." follows the report.
    s.messages.clear();
    s.host.failMember("Items.Restrict", "Restrict broke", 1);
    EXPECT_TRUE(runSearch(form(), "ann", 1, 1).empty());
    s.host.failMember("Items.Restrict", "Restrict broke", 1);
    EXPECT_TRUE(runSearch(form(), "ann", 1, 0, 1, 2).empty());
    ASSERT_EQ(s.messages.shown.size(), 4u);
    EXPECT_EQ(s.messages.shown[0].text, "getInUnVague:Restrict broke");
    EXPECT_EQ(s.messages.shown[1].text, "No item found.");
    EXPECT_EQ(s.messages.shown[1].style, windows::vbInformation);
    EXPECT_EQ(s.messages.shown[2].text, "getTimeConformable :Restrict broke");
    EXPECT_EQ(s.messages.shown[3].text, "No item found.");
    EXPECT_TRUE(form().get<controls::CommandButton>("Search").Enabled());
    EXPECT_EQ(runSearch(form(), "ann", 1, 0).size(), 1u);
}

TEST_F(ContactSearch, LetterCaseIsIgnoredBeyondAscii) {
    const host::ItemPtr muller = contact({{"FirstName", "Jürgen"},
                                          {"LastName", "Müller"},
                                          {"FileAs", "Müller, Jürgen"},
                                          {"Email1Address", "jm@x"}});
    const host::ItemPtr zoe = contact({{"FirstName", "ZOË"}, {"LastName", "ΣΟΦΊΑ"}});
    contact({{"FirstName", "Mueller"}, {"LastName", "Muller"}});
    open();
    EXPECT_EQ(runSearch(form(), "MÜLLER", 1, 0), keysOf({muller}));
    EXPECT_EQ(runSearch(form(), "üll", 0, 0), keysOf({muller}));
    EXPECT_EQ(runSearch(form(), "zoë", 1, 0), keysOf({zoe}));
    EXPECT_EQ(runSearch(form(), "MÜLLER, JÜRGEN", 0, 1), keysOf({muller}));
    EXPECT_EQ(runSearch(form(), "σοφία", 1, 1), keysOf({zoe}));
    EXPECT_TRUE(s.messages.shown.empty());
}

TEST_F(ContactSearch, SelectAllApplySortingAndEscape) {
    const host::ItemPtr b = contact({{"FirstName", "Ann"}, {"LastName", "Baker"}});
    const host::ItemPtr a = contact({{"FirstName", "Ann"}, {"LastName", "Adams"}});
    open();
    ASSERT_EQ(runSearch(form(), "ann", 1, 0), keysOf({b, a}));
    results().clickColumn(2);
    EXPECT_EQ(results().ListItems().Item(1).Key(), a->EntryID());
    auto& check1 = form().get<controls::CheckBox>("Check1");
    check1.click();
    EXPECT_TRUE(results().ListItems().Item(1).Checked() && results().ListItems().Item(2).Checked());
    click("Apply");
    click("Apply");
    EXPECT_TRUE(form().Loaded());
    EXPECT_EQ(target.ListItems().Count(), 2);

    // A new search clears the rows and Select All; Escape then adds nothing.
    target.ListItems().Clear();
    runSearch(form(), "adams", 1, 0);
    EXPECT_FALSE(check1.checked());
    results().checkItem(results().ListItems().Item(1), true);
    form().pressKey(form().get<controls::TextBox>("searchWords"), controls::vbKeyEscape);
    EXPECT_FALSE(form().Loaded());
    EXPECT_EQ(s.state.searchTarget, nullptr);
    EXPECT_EQ(target.ListItems().Count(), 0);
}

} // namespace
} // namespace velmora

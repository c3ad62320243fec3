// Tests of the item lookup helpers and list fillers on the in-memory host: contact search by
// mail, the default-folder test with its start-hour window, quotes, key arrays and time combos.
#include "links/PublicModules.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

using testing::TestSession;

class Lookups : public ::testing::Test {
  protected:
    TestSession s;

    host::ItemPtr contact(const std::string& name, const std::string& mail,
                          const char* mailProperty = "Email1Address") {
        host::ItemPtr c = s.host.application().CreateItem(host::olContactItem);
        c->Set("FullName", name);
        c->Set(mailProperty, mail);
        c->Save();
        return c;
    }
    host::ItemPtr appointment(const std::string& subject, int hour, int minute) {
        host::ItemPtr a = s.host.application().CreateItem(host::olAppointmentItem);
        a->Set("Subject", subject);
        a->Set("Start", host::makeDate(2026, 5, 20, hour, minute));
        a->Set("End", host::makeDate(2026, 5, 20, hour, minute) + std::chrono::minutes(10));
        a->Save();
        return a;
    }
};

TEST_F(Lookups, FindContactByMailPrefersTheCurrentUsersContact) {
    const host::ItemPtr bobs = contact("Ann Lee", "ann@x.example");
    const host::ItemPtr mine = contact("Ann Lee", "ann@x.example");
    const host::ItemPtr later = contact("Ann Lee", "ann@x.example");
    s.mapContact(bobs->EntryID(), "bob_1");
    s.mapContact(mine->EntryID(), "ALICE_2");
    EXPECT_EQ(findContactByMail(s.state, " Ann Lee ", "ann@x.example"), mine);
    s.exec("update ContactsID set velmoraid='carol_2' where velmoraid='ALICE_2'");
    EXPECT_EQ(findContactByMail(s.state, "Ann Lee", "ann@x.example"), later) << "else the last";

    const host::ItemPtr nameOnly = contact("Pat \"Red\" O'Neil", "");
    EXPECT_EQ(findContactByMail(s.state, "Pat \"Red\" O'Neil", "pat@x.example"), nameOnly);
    EXPECT_EQ(nameOnly->Text("Email1Address"), "pat@x.example");
    const host::ItemPtr second = contact("Dee", "dee@x.example", "Email2Address");
    EXPECT_EQ(findContactByMail(s.state, "Someone else", "dee@x.example"), second);
    const host::ItemPtr chinese = contact("李小明", "li@x.example");
    EXPECT_EQ(findContactByMail(s.state, "李小明", "li@x.example"), chinese);
    EXPECT_EQ(findContactByMail(s.state, "Nobody", "none@x.example"), nullptr);
    EXPECT_TRUE(s.messages.shown.empty());
}

TEST_F(Lookups, IsInDefaultFolderFindsTheItemInItsStartHourWindow) {
    for (const auto& [hour, minute] : std::vector<std::pair<int, int>>{{0, 15}, {9, 0}, {23, 45}}) {
        const host::ItemPtr a = appointment("Stand \"up\" it's", hour, minute);
        EXPECT_TRUE(isInDefaultFolder(s.state, a, kindAppointment)) << hour << ":" << minute;
    }
    auto calendar = getDefaultFolder(s.state, kindAppointment);
    host::ItemPtr elsewhere =
        calendar->AddFolder("Old", host::olAppointmentItem)->Items()->Add(host::olAppointmentItem);
    elsewhere->Set("Subject", std::string("Stand \"up\" it's"));
    elsewhere->Set("Start", host::makeDate(2026, 5, 20, 0, 15));
    elsewhere->Save();
    EXPECT_FALSE(isInDefaultFolder(s.state, elsewhere, kindAppointment));

    const host::ItemPtr pat = contact("Pat \"Red\" O'Neil", "pat@x.example");
    EXPECT_TRUE(isInDefaultFolder(s.state, pat, kindContact));
    EXPECT_FALSE(isInDefaultFolder(s.state, pat, kindTask));
    EXPECT_FALSE(isInDefaultFolder(s.state, nullptr, kindContact));
    EXPECT_TRUE(s.messages.shown.empty());
    EXPECT_TRUE(appointmentSubjectExists(s.state, "Stand \"up\" it's"));
    EXPECT_FALSE(appointmentSubjectExists(s.state, "Stand up"));
}

TEST_F(Lookups, HostFaultsAreReportedWithTheHelpersTags) {
    const host::ItemPtr ann = contact("Ann Lee", "ann@x.example");
    s.host.failMember("Items.Find", "host busy", 2);
    EXPECT_EQ(findContactByMail(s.state, "Ann Lee", "ann@x.example"), nullptr);
    EXPECT_FALSE(isInDefaultFolder(s.state, ann, kindContact));
    ASSERT_EQ(s.messages.shown.size(), 2u);
    EXPECT_EQ(s.messages.shown[0].text, "errorhost busy");
    EXPECT_EQ(s.messages.shown[1].text, "LabelFindObject: host busy");
    EXPECT_EQ(findContactByMail(s.state, "Ann Lee", "ann@x.example"), ann);
}

TEST_F(Lookups, KeyArraysQuotesAndCreators) {
    controls::ListView list("ListViewRightPlus");
    EXPECT_EQ(listKeyArray(list), std::vector<std::string>{""});
    list.ListItems().Add(0, "k1");
    list.ListItems().Add(0, "k2");
    EXPECT_EQ(listKeyArray(list), (std::vector<std::string>{"k1", "k2", ""}));

    EXPECT_EQ(stripQuotes("\"'Ann'\"") + stripQuotes("'Ann'") + stripQuotes("\"Ann"),
              "'Ann'AnnAnn");
    s.mapContact("C1", "bob_smith_4");
    s.mapMail("M1", "bob_9", "bob.owner");
    EXPECT_EQ(creatorOfServerID(s.state, "-1"), "alice");
    EXPECT_EQ(getItemCreator(s.state, kindContact, "C1"), "bob_smith");
    EXPECT_EQ(getItemCreator(s.state, kindMailOwner, "M1"), "bob.owner");
    EXPECT_EQ(getItemCreator(s.state, kindContact, "unmapped"), "alice");

    const host::ItemPtr ann = contact("Ann Lee", "ann@x.example");
    showItem(s.state, ann->EntryID(), kindAppointment); // not an appointment: passed over
    showItem(s.state, "missing", kindContact);
    showItem(s.state, ann->EntryID(), kindContact);
    ASSERT_EQ(s.host.application().Inspectors().Count(), 1);
    EXPECT_EQ(s.host.application().Inspectors().Item(1)->CurrentItem(), ann);
}

TEST_F(Lookups, TimeComboFollowsTheClocksTimeTextAndShowsTheNextHalfHour) {
    auto fill = [&](int hour, int minute, const std::string& format, bool chinese) {
        s.clock.set(host::makeDate(2026, 5, 20, hour, minute));
        s.clock.setTimeFormat(format);
        s.state.isChinese = chinese;
        controls::ComboBox combo("cboTime");
        fillTimeCombo(s.state, combo);
        EXPECT_EQ(combo.ListCount(), 48);
        EXPECT_GE(combo.ListIndex(), 0) << "the shown mark is one of the entries";
        return combo.List(0) + "|" + combo.List(47) + "|" + combo.Text();
    };
    EXPECT_EQ(fill(9, 10, "", true), "00:00|23:30|09:30") << "24-hour by default";
    EXPECT_EQ(fill(23, 40, "%H:%M:%S", false), "00:00|23:30|00:00");
    EXPECT_EQ(fill(12, 40, "%r", false), "01:00 am|12:30 pm|01:00 pm");
    EXPECT_EQ(fill(12, 40, "%p %I:%M:%S", false), "01:00 am|12:30 pm|01:00 pm");
    EXPECT_EQ(fill(0, 10, "%p %I:%M:%S", true), "上午 01:00|下午 12:30|上午 12:30");
    EXPECT_EQ(fill(15, 0, "%I:%M:%S %p", true), "上午 01:00|下午 12:30|下午 03:30");

    // Every entry of every form reads back as its own time of day.
    for (const auto& [format, chinese] :
         {std::pair{"%X", false}, std::pair{"%r", false}, std::pair{"%p %I:%M", true}}) {
        s.clock.setTimeFormat(format);
        s.state.isChinese = chinese;
        controls::ComboBox combo("cboTime");
        fillTimeCombo(s.state, combo);
        std::set<int> seen;
        for (int i = 0; i < combo.ListCount(); ++i) {
            const auto minutes = timeEntryMinutes(combo.List(i));
            ASSERT_TRUE(minutes) << combo.List(i);
            seen.insert(*minutes);
        }
        EXPECT_EQ(seen.size(), 48u);
        EXPECT_EQ(*seen.rbegin(), 23 * 60 + 30);
    }
    EXPECT_EQ(timeEntryMinutes("12:00 am"), 0);
    EXPECT_EQ(timeEntryMinutes("下午 12:30"), 12 * 60 + 30);
    for (std::string_view bad : {"", "9", "24:00", "13:00 pm", "9:5", "09:30 xm", "ab:cd"})
        EXPECT_FALSE(timeEntryMinutes(bad)) << bad;
}

TEST_F(Lookups, FoundListsSkipEntriesTheHostCannotHandOut) {
    const host::ItemPtr ann = contact("Ann Lee", "ann@x.example");
    const host::ItemPtr meeting = appointment("Review", 9, 0);
    controls::ListView contacts("ListViewResult"), events("ListViewResult");
    fillFoundContacts(s.state, contacts, {ann->EntryID(), "missing", meeting->EntryID()},
                      {"bob", "x", "y"});
    fillFoundAppointments(s.state, events, {meeting->EntryID()}, {"carol"});
    ASSERT_EQ(contacts.ListItems().Count() + events.ListItems().Count(), 2);
    const controls::ListItem& c = contacts.ListItems().Item(1);
    const controls::ListItem& e = events.ListItems().Item(1);
    EXPECT_EQ(c.Key() + "|" + c.SubItems(1) + "|" + c.SubItems(2) + "|" + c.SubItems(3),
              ann->EntryID() + "|Ann Lee|ann@x.example|bob");
    EXPECT_EQ(e.SubItems(1) + "|" + e.SubItems(2), "Review|" + meeting->Text("CreationTime"));
    EXPECT_EQ(c.SmallIcon(), 2);
    EXPECT_EQ(e.SmallIcon(), 3);
}

} // namespace
} // namespace velmora

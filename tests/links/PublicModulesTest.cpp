// Tests of the item lookup helpers on the in-memory host: contact search by mail, the
// default-folder test with its start-hour window, quotes, creators and items shown.
#include "links/PublicModules.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

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

TEST_F(Lookups, QuotesCreatorsAndShownItems) {
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

} // namespace
} // namespace velmora

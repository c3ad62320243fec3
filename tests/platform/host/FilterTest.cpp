// Tests of the item filter engine behind Items.Find, FindNext and Restrict: grammar, quoting,
// case, precedence, dates and the descriptions of filters that cannot be parsed.
#include "platform/host/DateText.h"
#include "platform/host/InMemoryHost.h"
#include "platform/log/Log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace velmora::host;

namespace {

struct Contacts : ::testing::Test {
    InMemoryHost host;
    std::shared_ptr<Items> items = host.folder(olFolderContacts)->Items();

    ItemPtr contact(const std::string& first, const std::string& last, const std::string& mail1,
                    const std::string& mail2 = "") {
        auto c = items->Add(olContactItem);
        c->Set("FirstName", first);
        c->Set("LastName", last);
        c->Set("Email1Address", mail1);
        c->Set("Email2Address", mail2);
        c->Save();
        return c;
    }

    std::vector<std::string> namesFound(const std::string& filter) {
        std::vector<std::string> names;
        for (auto c = items->Find(filter); c; c = items->FindNext())
            names.push_back(c->Text("FullName"));
        return names;
    }

    std::string errorOf(const std::string& filter) {
        try {
            items->Find(filter);
        } catch (const HostError& e) {
            return e.what();
        }
        return "no error";
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(Contacts, FindAndFindNextWalkTheMatchesInOrder) {
    contact("Ann", "Lee", "ann@x.com");
    contact("Bob", "Lee", "bob@x.com", "ann@x.com");
    contact("Cy", "Moe", "cy@x.com");
    EXPECT_EQ(namesFound("[LastName] = \"Lee\""), (Names{"Ann Lee", "Bob Lee"}));
    EXPECT_EQ(items->FindNext(), nullptr); // stays exhausted
    // The three-address search as the lookup writes it, with its doubled blank before the last Or.
    EXPECT_EQ(namesFound("[Email1address] = \"ann@x.com\" Or [Email2address] = \"ann@x.com\"  Or "
                         "[Email3address] = \"ann@x.com\""),
              (Names{"Ann Lee", "Bob Lee"}));
    EXPECT_TRUE(namesFound("[LastName] = \"Nobody\"").empty());
}

TEST_F(Contacts, NamesKeywordsAndValuesIgnoreCase) {
    contact("Ann", "Lee", "Ann@X.com");
    EXPECT_EQ(namesFound("[fullname] = 'ann LEE' AND [EMAIL1ADDRESS]='ann@x.COM'"),
              (Names{"Ann Lee"}));
    EXPECT_EQ(namesFound("[Fullname] = \"Ann Lee\" and ([Email1address] = \"x\" or "
                         "[Email1address] = \"ann@x.com\")"),
              (Names{"Ann Lee"}));

    // Values fold every script's letter case, not only ASCII; accents still count.
    contact("Zoë", "Müller", "zm@x.com");
    contact("Zoe", "Muller", "zo@x.com");
    EXPECT_EQ(namesFound("[LastName] = 'MÜLLER' And [FirstName] = 'ZOË'"), (Names{"Zoë Müller"}));
    EXPECT_EQ(namesFound("[LastName] <> 'müLLER' And [LastName] > 'lee'"), (Names{"Zoe Muller"}));
    EXPECT_EQ(namesFound("[LastName] >= 'MÜ'"), (Names{"Zoë Müller"}));

    // A text set again is folded again: the old name no longer matches, the new one does.
    items->Find("[LastName] = 'MÜLLER'")->Set("LastName", "Ørsted");
    EXPECT_EQ(namesFound("[LastName] = 'MÜLLER'"), Names{});
    EXPECT_EQ(namesFound("[LastName] = 'ØRSTED'"), (Names{"Zoë Ørsted"}));
}

TEST_F(Contacts, DoubledQuotesInsideAValueStandForOneQuote) {
    contact("Pat", "O'Neil", "pat@x.com");
    auto c = contact("Dan", "Say", "dan@x.com");
    c->Set("CompanyName", "The \"Best\" Ltd");
    c->Save();
    EXPECT_EQ(namesFound("[LastName] = 'O''Neil'"), (Names{"Pat O'Neil"}));
    EXPECT_EQ(namesFound("[LastName] = \"O'Neil\""), (Names{"Pat O'Neil"}));
    EXPECT_EQ(namesFound("[CompanyName] = \"The \"\"Best\"\" Ltd\""), (Names{"Dan Say"}));
    // An undoubled quote ends the value, and what follows is reported.
    EXPECT_NE(errorOf("[LastName] = 'O'Neil'").find("unexpected \"Neil\""), std::string::npos);
}

TEST_F(Contacts, AndBindsTighterThanOrAndNotTighterThanAnd) {
    contact("Ann", "Lee", "a@x");
    contact("Bob", "Lee", "b@x");
    contact("Cy", "Moe", "c@x");
    // Or(A, And(B, C)): Ann matches by the first term alone.
    EXPECT_EQ(namesFound("[FirstName] = 'Ann' Or [FirstName] = 'Bob' And [LastName] = 'Moe'"),
              (Names{"Ann Lee"}));
    EXPECT_EQ(namesFound("([FirstName] = 'Ann' Or [FirstName] = 'Bob') And [LastName] = 'Lee'"),
              (Names{"Ann Lee", "Bob Lee"}));
    EXPECT_EQ(namesFound("Not [LastName] = 'Lee' Or [FirstName] = 'Bob'"),
              (Names{"Bob Lee", "Cy Moe"}));
    EXPECT_EQ(namesFound("[LastName] <> 'Lee'"), (Names{"Cy Moe"}));
    EXPECT_EQ(namesFound("[FirstName] >= 'b' and [FirstName] < 'CZ'"),
              (Names{"Bob Lee", "Cy Moe"}));
}

TEST_F(Contacts, LongChainsAreEvaluatedAndDeepNestingIsRefused) {
    contact("Ann", "Lee", "a@x");
    contact("Bob", "Moe", "b@x");
    // However long a chain a user's text makes, its last term still counts.
    std::string chain;
    for (int i = 0; i < 300000; ++i)
        chain += "[FileAs]='x' Or ";
    EXPECT_EQ(namesFound(chain + "[FirstName] = 'Bob'"), (Names{"Bob Moe"}));
    // Nesting is refused with its description before it can exhaust the stack.
    const std::string bob = "[FirstName] = 'Bob'";
    EXPECT_EQ(namesFound(std::string(100, '(') + bob + std::string(100, ')')), (Names{"Bob Moe"}));
    EXPECT_NE(errorOf(std::string(50000, '(') + bob + std::string(50000, ')'))
                  .find("Not and \"(\" nest more than 100 levels deep at position 101"),
              std::string::npos);
    std::string nots;
    for (int i = 0; i < 50000; ++i)
        nots += "Not ";
    EXPECT_NE(errorOf(nots + bob).find("nest more than 100 levels deep"), std::string::npos);
}

TEST_F(Contacts, EmptyValueMatchesUnsetProperty) {
    auto a = contact("Ann", "Lee", "");
    contact("Ann", "Lee", "ann@x.com");
    EXPECT_EQ(items->Find("[Fullname] = \"Ann Lee\" and [Email1address] = \"\""), a);
    EXPECT_EQ(items->FindNext(), nullptr);
}

TEST_F(Contacts, UnparsableFiltersSayWhatAndWhere) {
    contact("Ann", "Lee", "a@x");
    EXPECT_EQ(errorOf("[Nickname] = 'x'"),
              "Cannot parse the filter \"[Nickname] = 'x'\": unknown property [Nickname] at "
              "position 1");
    EXPECT_NE(errorOf("[Start] >= '01/01/2024'").find("does not belong to contact items"),
              std::string::npos);
    EXPECT_NE(errorOf("[LastName] = 'Lee").find("not closed at position 14"), std::string::npos);
    EXPECT_NE(errorOf("[LastName] 'Lee'").find("expected an operator"), std::string::npos);
    EXPECT_NE(errorOf("([LastName] = 'Lee'").find("is not closed"), std::string::npos);
    EXPECT_NE(errorOf("[LastName] = 'Lee')").find("without its"), std::string::npos);
    EXPECT_NE(errorOf("[LastName] = 'Lee' And").find("missing"), std::string::npos);
    EXPECT_NE(errorOf("   ").find("the filter is empty"), std::string::npos);
    EXPECT_NE(errorOf("[LastName = 'x'").find("not closed by \"]\""), std::string::npos);
    // A failed Find loses nothing: the next good one works.
    EXPECT_EQ(namesFound("[LastName] = 'Lee'"), (Names{"Ann Lee"}));
    // Restrict reports the same way, and the log keeps what was refused.
    const auto logFile = std::filesystem::temp_directory_path() /
                         ("velmora-filter-" + std::to_string(::getpid()) + ".log");
    ::setenv("VELMORA_LOG_FILE", logFile.c_str(), 1);
    velmora::log::open("test", false);
    EXPECT_THROW(items->Restrict("[LastName] == 'x'"), HostError);
    velmora::log::close();
    ::unsetenv("VELMORA_LOG_FILE");
    std::ifstream logged(logFile);
    const std::string line((std::istreambuf_iterator<char>(logged)), {});
    std::filesystem::remove(logFile);
    EXPECT_NE(line.find("warning: filter: Cannot parse the filter \"[LastName] == 'x'\""),
              std::string::npos)
        << line;
    InMemoryHost fresh;
    EXPECT_THROW(fresh.folder(olFolderContacts)->Items()->FindNext(), HostError);
}

TEST(Filter, DatesInTheFilterFormCompareToTheMinute) {
    InMemoryHost host;
    auto items = host.folder(olFolderCalendar)->Items();
    auto at = [&](int day, int hour, int minute, const std::string& subject) {
        auto a = items->Add(olAppointmentItem);
        a->Set("Subject", subject);
        a->Set("Start", makeDate(2024, 3, day, hour, minute, 30));
        a->Save();
        return a;
    };
    auto early = at(4, 0, 15, "early");
    auto nine = at(4, 9, 0, "nine");
    auto next = at(5, 13, 0, "next");
    // The search builders' forms: lower bound inclusive, upper bound exclusive, " 00:00" times.
    auto today = items->Restrict("[start]>='03/04/2024 00:00' And [start]<'03/05/2024 00:00'");
    EXPECT_EQ(today->Count(), 2);
    EXPECT_EQ(today->Item(1), early);
    EXPECT_EQ(items->Find("[Subject]=\"nine\" and ([start]>=\"3/4/2024 8:00\" and "
                          "[start]<=\"3/4/2024 10:00\")"),
              nine);
    EXPECT_EQ(items->Find("[Start] = '03/04/2024 9:00'"), nine); // seconds ignored
    EXPECT_EQ(items->Find("[Start] = '03/04/2024 09:00:30'"), nine);
    EXPECT_EQ(items->Find("[Start] = '03/04/2024 09:00:31'"), nullptr);
    EXPECT_EQ(items->Find("[Start] > '03/05/2024 01:00 PM'"), nullptr);
    EXPECT_EQ(items->Find("[Start] >= '03/05/2024 01:00 PM'"), next);
    EXPECT_EQ(items->Find("[Start] >= '03/05/2024'"), next);
    EXPECT_EQ(parseFilterDate(filterDateText(makeDate(2024, 12, 31, 23, 59)))->when,
              makeDate(2024, 12, 31, 23, 59));
    for (const char* bad : {"2024-03-04", "13/01/2024", "02/30/2024", "03/04/24",
                            "03/04/2024 25:00", "03/04/2024 9", "tomorrow"}) {
        try {
            items->Find(std::string("[Start] >= '") + bad + "'");
            ADD_FAILURE() << bad << " was accepted";
        } catch (const HostError& e) {
            EXPECT_NE(std::string(e.what()).find("is not a date in the form MM/DD/YYYY"),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST(Filter, EachDateFormKeepsItsOwnLayout) {
    EXPECT_EQ(parseIsoDate("2024-3-4 9:05"), makeDate(2024, 3, 4, 9, 5));
    for (const char* bad : {"2024-03-04  9:05", "2024-03-04 9:05 PM", "03/04/2024", "2024-03-04 9"})
        EXPECT_EQ(parseIsoDate(bad), std::nullopt) << bad;
    const auto midnight = parseFilterDate("3/4/2024   12:30:15 am");
    ASSERT_TRUE(midnight);
    EXPECT_EQ(midnight->when, makeDate(2024, 3, 4, 0, 30, 15));
    EXPECT_TRUE(midnight->hasSeconds);
    EXPECT_EQ(parseFilterDate("3/4/2024 12:00 PM")->when, makeDate(2024, 3, 4, 12));
    EXPECT_EQ(parseFilterDate("3/4/2024 1:00 pm")->when, makeDate(2024, 3, 4, 13));
    for (const char* bad : {"3/4/2024 1:00PM", "3/4/2024 13:00 PM", "3/4/2024 1:00 XM"})
        EXPECT_EQ(parseFilterDate(bad), std::nullopt) << bad;
}

TEST(Filter, NumbersAndFlagsAreTypedAndChecked) {
    InMemoryHost host;
    auto items = host.folder(olFolderInbox)->Items();
    auto high = items->Add(olMailItem);
    high->Set("Importance", 2L);
    high->Save();
    auto normal = items->Add(olMailItem);
    normal->Save();
    EXPECT_EQ(items->Find("[Importance] = 2"), high);
    EXPECT_EQ(items->Find("[Importance] < '2'"), normal);
    EXPECT_EQ(items->Find("[Sent] = False"), high);
    EXPECT_EQ(items->Find("[Sent] = True"), nullptr);
    EXPECT_THROW(items->Find("[Importance] = 'high'"), HostError);
    EXPECT_THROW(items->Find("[Sent] = 'maybe'"), HostError);
}

TEST_F(Contacts, RestrictFollowsLaterSavesAndCanBeRestrictedAgain) {
    contact("Ann", "Lee", "a@x");
    auto lee = items->Restrict("[LastName] = 'Lee'");
    EXPECT_EQ(lee->Count(), 1);
    int added = 0;
    auto sub = lee->ItemAdd().subscribe([&](ItemPtr) { ++added; });
    auto bob = contact("Bob", "Lee", "b@x");
    contact("Cy", "Moe", "c@x");
    EXPECT_EQ(lee->Count(), 2);
    EXPECT_EQ(added, 1); // the Moe contact was not passed on
    auto bobOnly = lee->Restrict("[FirstName] = 'bob'");
    EXPECT_EQ(bobOnly->Count(), 1);
    EXPECT_EQ(bobOnly->Item(1), bob);
    EXPECT_EQ(lee->Find("[FirstName] = 'Cy'"), nullptr);
    bob->Set("LastName", "Moe");
    bob->Save();
    EXPECT_EQ(lee->Count(), 1);
    EXPECT_EQ(bobOnly->Count(), 0);
    EXPECT_THROW(lee->Item(2), HostError);
}

TEST_F(Contacts, FindNextGoesOnAfterTheLastMatchWhenItemsMove) {
    auto a = contact("Ann", "Lee", "a@x");
    auto b = contact("Bob", "Lee", "b@x");
    auto c = contact("Cy", "Lee", "c@x");
    EXPECT_EQ(items->Find("[LastName] = 'Lee'"), a);
    a->Delete(); // moves to Deleted Items; the walk still continues with Bob
    EXPECT_EQ(items->FindNext(), b);
    EXPECT_EQ(items->FindNext(), c);
    EXPECT_EQ(items->FindNext(), nullptr);
}

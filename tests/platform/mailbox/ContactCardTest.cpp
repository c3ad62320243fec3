// Reading and writing vCard files: Chinese names, several addresses, escapes, vCard 3.0, and
// broken cards that still give what they hold.
#include "platform/mailbox/ContactCard.h"
#include "platform/mailbox/ItemFiles.h"

#include <gtest/gtest.h>

namespace velmora::mailbox {
namespace {

const std::filesystem::path kData = VELMORA_TEST_DATA;

TEST(ContactCard, ReadsTheFieldsTheHostShows) {
    const ContactData wang = ContactCard::read(kData / "card_wang.vcf");
    EXPECT_EQ(wang.problem, "");
    EXPECT_EQ(wang.uid, "urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1");
    EXPECT_EQ(wang.fullName, "王小明");
    EXPECT_EQ(wang.lastName, "王");
    EXPECT_EQ(wang.firstName, "小明");
    EXPECT_EQ(wang.emailAddress(1), "wang@example.cn");
    EXPECT_EQ(wang.emailAddress(2), "xiaoming@example.com");
    EXPECT_EQ(wang.emailAddress(3), "xm.wang@example.org");
    EXPECT_EQ(wang.emailAddress(4), "");
    EXPECT_EQ(wang.emails[0].type, "work");
    ASSERT_EQ(wang.phones.size(), 2U);
    EXPECT_EQ(wang.phones[0], (CardValue{"+86 138 0000 0000", "cell"}));
    EXPECT_EQ(wang.companyName, "北京星河公司");
    EXPECT_EQ(wang.department, "研发部");
    EXPECT_EQ(wang.note, "第一行\n第二行, 逗号");
    EXPECT_EQ(wang.categories, (std::vector<std::string>{"客户", "VIP"}));

    const ContactData anna = ContactCard::read(kData / "card_mueller_v3.vcf");
    EXPECT_EQ(anna.problem, "");
    EXPECT_EQ(anna.fullName, "Anna Müller");
    EXPECT_EQ(anna.prefix, "Dr.");
    EXPECT_EQ(anna.emailAddress(1), "anna@example.de");
}

TEST(ContactCard, CardsReadBackTheSameAfterWriting) {
    ContactData tricky;
    tricky.uid = "tricky-1";
    tricky.fullName = "Wang, Jr; 小明";
    tricky.lastName = "Wang;Li";
    tricky.firstName = "小明, Jr";
    tricky.emails = {{"a@example.cn", "work"}, {"b@example.cn", ""}};
    tricky.companyName = "A;B 公司";
    tricky.note = "back\\slash\nnew line, comma; semicolon";
    tricky.categories = {"a,b", "同学"};
    tricky.phones = {{"VERSION:3.0", "x"}};
    const std::filesystem::path copy =
        std::filesystem::temp_directory_path() / "velmora-contact-copy.vcf";
    for (const ContactData& contact : {ContactCard::read(kData / "card_wang.vcf"),
                                       ContactCard::read(kData / "card_mueller_v3.vcf"), tricky}) {
        ContactCard::write(copy, contact);
        EXPECT_EQ(ContactCard::read(copy), contact) << ContactCard::text(contact);
    }
    std::filesystem::remove(copy);

    // Long lines are folded, wherever the fold falls within a character.
    for (const std::string pad : {"", "a", "ab"}) {
        ContactData wide;
        wide.fullName = pad;
        for (int i = 0; i < 40; ++i)
            wide.fullName += "王";
        EXPECT_EQ(ContactCard::parse(ContactCard::text(wide), "wide.vcf").fullName, wide.fullName);
    }
}

TEST(ContactCard, BrokenCardsGiveWhatTheyHoldAndOneMessage) {
    const std::string broken = (kData / "card_broken.vcf").string();
    const ContactData li = ContactCard::read(broken);
    EXPECT_EQ(li.uid, "broken-card");
    EXPECT_EQ(li.fullName, "李雷");
    EXPECT_EQ(li.emailAddress(1), "lilei@example.cn");
    EXPECT_EQ(li.categories, std::vector<std::string>{"同学"});
    EXPECT_EQ(li.problem, "Contact file " + broken +
                              ": cannot read \"this line is garbage\", \"N:only;two\"; the rest "
                              "is read");

    const ContactData cut =
        ContactCard::parse("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Cut short\r\n", "cut.vcf");
    EXPECT_EQ(cut.fullName, "Cut short");
    EXPECT_NE(cut.problem.find("cut.vcf"), std::string::npos);

    EXPECT_THROW(ContactCard::parse("hello", "odd.vcf"), ItemFileError);
    try {
        ContactCard::read(kData / "card_gone.vcf");
        ADD_FAILURE() << "a missing card reads";
    } catch (const ItemFileError& e) {
        EXPECT_NE(std::string(e.what()).find("card_gone.vcf"), std::string::npos) << e.what();
    }
}

TEST(ContactCard, BytesThatAreNotUtf8AreReplacedAndNamed) {
    const ContactData whole = ContactCard::parse(
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:M\xfcller\r\nEND:VCARD\r\n", "latin.vcf");
    EXPECT_EQ(whole.fullName, "M\uFFFDller");
    EXPECT_EQ(
        whole.problem,
        "Contact file latin.vcf: bytes that are not UTF-8 are read as U+FFFD; the rest is read");

    // A refused line is quoted in the problem: never with its stray bytes.
    const ContactData broken = ContactCard::parse(
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna\r\ngarbage \xdd\r\nEND:VCARD\r\n", "broken.vcf");
    EXPECT_EQ(broken.fullName, "Anna");
    EXPECT_EQ(broken.problem, "Contact file broken.vcf: bytes that are not UTF-8 are read as "
                              "U+FFFD; cannot read \"garbage \uFFFD\"; the rest is read");
}

} // namespace
} // namespace velmora::mailbox

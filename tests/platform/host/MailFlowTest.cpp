// Tests of sending mail through the in-memory host: the Send event and its cancel flag, the
// Outbox, delivery to Sent Items under a new entry ID, and the host-backed messaging session.
#include "platform/cdo/MapiSession.h"
#include "platform/clock/Clock.h"
#include "platform/host/DateText.h"
#include "platform/host/InMemoryHost.h"

#include <gtest/gtest.h>

using namespace velmora::host;

namespace {

struct MailFlow : ::testing::Test {
    InMemoryHost host;
    NameSpace& ns = host.application().GetNamespace("MAPI");
    std::shared_ptr<Items> outbox = host.folder(olFolderOutbox)->Items();
    std::shared_ptr<Items> sent = host.folder(olFolderSentMail)->Items();

    ItemPtr compose(const std::string& subject) {
        auto mail = host.application().CreateItem(olMailItem);
        mail->Set("Subject", subject);
        mail->Recipients().Add({"Ann", "ann@x.com", olTo});
        return mail;
    }
};

} // namespace

TEST_F(MailFlow, SendMovesToOutboxAndDeliveryRekeysIntoSentItems) {
    host.setUser("Zoe", "zoe@velmora.example");
    velmora::timekeeping::FixedClock clock(makeDate(2024, 2, 3, 4, 5, 6));
    host.setClock(clock);
    auto mail = compose("Report");
    EXPECT_EQ(mail->EntryID(), "");
    int sendEvents = 0;
    auto s = mail->SendEvent().subscribe([&](bool&) { ++sendEvents; });
    std::vector<std::string> outboxAdds, sentAdds;
    auto a = outbox->ItemAdd().subscribe([&](ItemPtr i) { outboxAdds.push_back(i->EntryID()); });
    auto b = sent->ItemAdd().subscribe([&](ItemPtr i) {
        sentAdds.push_back(i->EntryID());
        EXPECT_TRUE(i->Flag("Sent")); // already marked when the event arrives
    });
    mail->Send();
    EXPECT_EQ(sendEvents, 1);
    ASSERT_EQ(outboxAdds.size(), 1u);
    const std::string outboxId = mail->EntryID();
    EXPECT_EQ(outboxAdds[0], outboxId);
    EXPECT_FALSE(mail->Flag("Sent"));
    EXPECT_THROW(mail->Send(), HostError); // waiting in the Outbox already

    host.deliverOutbox();
    ASSERT_EQ(sentAdds.size(), 1u);
    EXPECT_NE(sentAdds[0], outboxId);
    EXPECT_EQ(mail->EntryID(), sentAdds[0]);
    EXPECT_EQ(outbox->Count(), 0);
    EXPECT_EQ(sent->Count(), 1);
    EXPECT_EQ(ns.GetItemFromID(outboxId), nullptr);
    EXPECT_EQ(ns.GetItemFromID(sentAdds[0]), mail);
    EXPECT_TRUE(mail->Flag("Sent"));
    EXPECT_EQ(mail->Date("SentOn"), makeDate(2024, 2, 3, 4, 5, 6));
    EXPECT_EQ(mail->Text("SenderEmailAddress"), "zoe@velmora.example");
    EXPECT_THROW(mail->Send(), HostError);

    velmora::cdo::HostMapiSession session(host.application());
    session.Logon();
    EXPECT_EQ(session.SenderAddress(mail->EntryID()), "zoe@velmora.example");
    EXPECT_THROW(session.SenderAddress(outboxId), std::runtime_error);
    auto contact = host.folder(olFolderContacts)->Items()->Add(olContactItem);
    contact->Save();
    EXPECT_THROW(session.SenderAddress(contact->EntryID()), std::runtime_error);
}

TEST_F(MailFlow, CancelledOrUnaddressedSendsStayPut) {
    auto mail = compose("Draft");
    mail->Save();
    EXPECT_EQ(mail->Parent()->Name(), "Drafts");
    auto s = mail->SendEvent().subscribe([](bool& cancel) { cancel = true; });
    mail->Send();
    EXPECT_EQ(mail->Parent()->Name(), "Drafts");
    EXPECT_EQ(outbox->Count(), 0);
    s.reset();
    auto bare = host.application().CreateItem(olMailItem);
    EXPECT_THROW(bare->Send(), HostError);
    EXPECT_THROW(host.folder(olFolderContacts)->Items()->Add(olContactItem)->Send(), HostError);
    mail->Send();
    EXPECT_EQ(mail->Parent()->Name(), "Outbox");
}

TEST_F(MailFlow, SendReceiveButtonDeliversEvenFromInsideOutboxItemAdd) {
    // The add-in executes Tools > Send/Receive from its Outbox ItemAdd handler.
    auto& menu = host.application().ActiveExplorer()->CommandBars().Item("Menu bar");
    auto tools = menu.FindControl(msoControlPopup, 30007);
    ASSERT_NE(tools, nullptr);
    ControlPtr sendReceive;
    for (int i = 1; i <= tools->Controls().Count(); ++i)
        if (tools->Controls().Item(i)->Id() == 5577) sendReceive = tools->Controls().Item(i);
    ASSERT_NE(sendReceive, nullptr);
    auto a = outbox->ItemAdd().subscribe([&](ItemPtr) { sendReceive->Execute(); });
    int sentAdds = 0;
    auto b = sent->ItemAdd().subscribe([&](ItemPtr) { ++sentAdds; });
    auto mail = compose("Quick");
    mail->Send();
    EXPECT_EQ(sentAdds, 1);
    EXPECT_EQ(mail->Parent()->Name(), "Sent Items");
    auto received = host.receiveMail("Hi", "Bob", "bob@x.com");
    EXPECT_TRUE(received->Flag("Sent"));
    EXPECT_EQ(received->Parent()->Name(), "Inbox");
    EXPECT_EQ(received->Text("SenderName"), "Bob");
}

// Tests of the share-appointment dialog: the groups offered, OK that applies and stays open, the
// attach tab's contact links, a foreign appointment with the share tab off, and the close.
#include "dialogs/share/ShareAppGroup.h"
#include "links/AttachEvent.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestSession;

class ShareAppointment : public ::testing::Test {
  protected:
    ShareAppointment() {
        s.state.isChinese = false;
        s.state.eventLinks = std::make_shared<AttachEvent>(s.state);
        s.exec("insert into GroupTb (GroupID, GroupName, Creator, Modules) values "
               "('g1','Sales','alice',2), ('g2','Board','bob',1)");
        s.exec("insert into Group_User (GroupID, loginname, Access) values ('g1','alice',3), "
               "('g2','alice',3)");
        appointment = s.host.folder(host::olFolderCalendar)->Items()->Add(host::olAppointmentItem);
        appointment->Set("Subject", std::string("Review"));
        appointment->Set("Start", host::makeDate(2026, 12, 8, 10));
        appointment->Set("End", host::makeDate(2026, 12, 8, 11));
        appointment->Save();
        s.host.application().ActiveExplorer()->Select({appointment});
    }
    host::ItemPtr contact(const std::string& name, const std::string& address) {
        return s.addContact(name, address);
    }
    controls::ListView& list(const char* name) {
        return dialog.form().get<controls::ListView>(name);
    }
    void click(const char* name) { dialog.form().get<controls::CommandButton>(name).click(); }
    void pick(const char* listName, const std::string& key, const char* button) {
        list(listName).setSelectedItem(&list(listName).ListItems().Item(key));
        click(button);
    }
    bool enabled(const char* name) { return dialog.form().find(name)->Enabled(); }

    TestSession s;
    host::ItemPtr appointment;
    dialogs::ShareAppGroup dialog{s.state};
};

TEST_F(ShareAppointment, OkAppliesTheGroupsAndStaysOpen) {
    dialog.Show();
    EXPECT_EQ(s.state.activeDialog, dialogShareAppointment);
    ASSERT_EQ(list("ListViewLeft").ListItems().Count(), 1) << "only groups of the calendar bit";
    EXPECT_FALSE(enabled("OK"));
    pick("ListViewLeft", "g1", "cmdMoveFields1");
    EXPECT_TRUE(enabled("OK"));
    click("OK");
    EXPECT_TRUE(dialog.form().Loaded());
    EXPECT_FALSE(enabled("OK"));
    EXPECT_EQ(s.count("select * from Group_Task where GroupID='g1' and IsDel=0 and IsDirty=1 "
                      "and tid='-1' and OutlookAppID='" +
                      appointment->EntryID() + "'"),
              1);
    EXPECT_TRUE(s.state.skipNextItemEvent) << "the appointment was touched";

    // Copying the selected row while both lists hold as many rows changes nothing, yet OK
    // comes on; copying all is refused outright and leaves OK off.
    pick("ListViewLeft", "g1", "cmdMoveFields1");
    EXPECT_TRUE(enabled("OK"));
    click("OK");
    click("cmdMoveFields2");
    EXPECT_FALSE(enabled("OK"));
    EXPECT_EQ(s.count("select * from Group_Task"), 1);
    click("cmdCancel");
    EXPECT_EQ(s.state.activeDialog, dialogNone);
}

TEST_F(ShareAppointment, AttachTabLinksChosenContactsAndSkipsDeletedOnes) {
    auto ann = contact("Ann Lee", "ann@example.com");
    auto bob = contact("Bob O'Neil", "bob@example.com");
    dialog.Show();
    EXPECT_FALSE(enabled("attachEventtoContact")) << "off until something changes";
    EXPECT_FALSE(dialog.form().get<controls::Label>("doneTab").Visible());

    // Nothing linked and nothing chosen: only "Done!".
    dialog.form().get<controls::CheckBox>("checkShareEvent").setValue(controls::vbChecked);
    dialog.form().get<controls::CheckBox>("checkShareEvent").setValue(controls::vbUnchecked);
    click("attachEventtoContact");
    EXPECT_TRUE(dialog.form().get<controls::Label>("doneTab").Visible());
    EXPECT_FALSE(enabled("attachEventtoContact"));
    AddListRow(list("ListViewLeftPlus"), 2, ann->EntryID(), "Ann Lee", "ann@example.com", "alice");
    AddListRow(list("ListViewLeftPlus"), 2, bob->EntryID(), "Bob O'Neil", "bob@example.com",
               "alice");
    click("cmdMoveFieldsPlus2");
    EXPECT_TRUE(enabled("cmdProp"));
    EXPECT_TRUE(enabled("checkShareEvent"));
    dialog.form().get<controls::CheckBox>("checkShareEvent").setValue(controls::vbChecked);
    click("attachEventtoContact");
    EXPECT_TRUE(dialog.form().get<controls::Label>("doneTab").Visible());
    EXPECT_EQ(appointment->Links().Count(), 2);
    EXPECT_EQ(s.count("select * from noteTb where PrivateAccess=0 and OutlookAttachID='" +
                      appointment->EntryID() + "'"),
              2);
    click("cmdCancel");

    // Reopened: both are listed on both sides; a deleted contact no longer is.
    bob->Delete();
    dialog.Show();
    EXPECT_EQ(list("ListViewRightPlus").ListItems().Count(), 1);
    EXPECT_EQ(list("ListViewRightPlus").ListItems().Item(1).Key(), ann->EntryID());
    EXPECT_TRUE(dialog.form().get<controls::CheckBox>("checkShareEvent").checked());
    click("cmdMoveFieldsPlus3");
    EXPECT_FALSE(enabled("cmdProp"));
    EXPECT_FALSE(enabled("checkShareEvent"));
    click("attachEventtoContact");
    EXPECT_EQ(appointment->Links().Count(), 0);
    EXPECT_EQ(s.count("select * from noteTb where MakeDelete=0 and OutlookAttachID='" +
                      appointment->EntryID() + "'"),
              0);
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
}

TEST_F(ShareAppointment, WithTheShareTabOffOnlyTheAttachTabIsFilled) {
    s.exec("insert into Group_Task (GroupID, tid, OutlookAppID, IsDel, IsDirty) values ('g1', "
           "'7', '" +
           appointment->EntryID() + "', 0, 0)");
    s.state.ui.calendarTab = 0;
    dialog.form().get<controls::TabControl>("SSTab1").setTabEnabled(0, false);
    dialog.Show();
    EXPECT_EQ(list("ListViewLeft").ListItems().Count(), 0);
    EXPECT_EQ(list("ListViewRight").ListItems().Count(), 0);
    EXPECT_EQ(dialog.form().get<controls::TabControl>("SSTab1").Tab(), 1);
    auto ann = contact("Ann Lee", "ann@example.com");
    AddListRow(list("ListViewLeftPlus"), 2, ann->EntryID(), "Ann Lee", "ann@example.com", "bob");
    click("cmdMoveFieldsPlus2");
    click("attachEventtoContact");
    EXPECT_EQ(
        s.count("select * from noteTb where OutlookAttachID='" + appointment->EntryID() + "'"), 1);
    dialog.form().unload();
    EXPECT_EQ(s.state.ui.calendarTab, 1);
}

} // namespace
} // namespace velmora

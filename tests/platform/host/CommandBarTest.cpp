// Tests of the in-memory command bars: built-in layout, FindControl, Controls.Add positions,
// Move, Delete, faces, and Click raised on every control that carries the executed tag.
#include "platform/host/InMemoryHost.h"

#include <gtest/gtest.h>

using namespace velmora::host;

TEST(CommandBars, BuiltInBarsAndRecursiveFindControl) {
    InMemoryHost host;
    auto& bars = host.application().ActiveExplorer()->CommandBars();
    EXPECT_EQ(&bars.Item("Menu Bar"), &bars.Item("menu BAR"));
    EXPECT_THROW(bars.Item("Formatting"), HostError);
    auto& menu = bars.Item("Menu Bar");
    ASSERT_EQ(menu.Controls().Count(), 7);
    EXPECT_EQ(menu.Controls().Item(5)->Id(), 30007); // Tools just before position 6
    auto& standard = bars.Item("Standard");
    EXPECT_NE(standard.FindControl(msoControlButton, 5593), nullptr);
    // 5577 sits inside the Tools popup; a bar search goes down into popups.
    auto sendReceive = menu.FindControl(0, 5577);
    ASSERT_NE(sendReceive, nullptr);
    EXPECT_EQ(sendReceive->Type(), msoControlButton);
    EXPECT_EQ(menu.FindControl(msoControlPopup, 5577), nullptr);
    EXPECT_THROW(sendReceive->Controls(), HostError);
    menu.FindControl(msoControlPopup, 30007)->SetVisible(false);
    EXPECT_EQ(menu.FindControl(0, 5577, "", true), nullptr);
    EXPECT_EQ(menu.FindControl(0, 5577, "", false), sendReceive);
    // The explorers share their bars, so a control added from one is found from another.
    auto second = host.addExplorer();
    EXPECT_EQ(&second->CommandBars(), &bars);
    host.removeBuiltIn(5593);
    EXPECT_EQ(standard.FindControl(0, 5593), nullptr);
}

TEST(CommandBars, AddMoveDeleteKeepPositions) {
    InMemoryHost host;
    auto& menu = host.application().ActiveExplorer()->CommandBars().Item("Menu Bar");
    auto popup = menu.Controls().Add(msoControlPopup);
    popup->SetTag("VelmoraMenuBar");
    popup->SetCaption("Velmora");
    EXPECT_EQ(popup->Index(), 8);
    popup->Move(6);
    EXPECT_EQ(popup->Index(), 6);
    EXPECT_EQ(menu.Controls().Item(5)->Id(), 30007);
    EXPECT_EQ(menu.FindControl(msoControlPopup, 0, "VelmoraMenuBar"), popup);
    auto first = popup->Controls().Add(msoControlButton);
    auto about = popup->Controls().Add(msoControlButton, 0, 1);
    EXPECT_EQ(about->Index(), 1);
    EXPECT_EQ(first->Index(), 2);
    first->Move(0);
    EXPECT_EQ(first->Index(), 2);
    about->Move(3); // before a position past itself: lands last
    EXPECT_EQ(about->Index(), 2);
    first->PasteFace("faces/104.bmp");
    EXPECT_EQ(first->Face(), "faces/104.bmp");
    first->SetStyle(msoButtonIconAndCaption);
    EXPECT_THROW(first->SetStyle(9), HostError);
    EXPECT_THROW(popup->Controls().Add(msoControlButton, 0, 9), HostError);
    EXPECT_THROW(popup->Controls().Add(4), HostError);
    EXPECT_THROW(popup->Controls().Add(msoControlButton, 424242), HostError);
    auto copy = popup->Controls().Add(msoControlButton, 5577);
    EXPECT_EQ(copy->Id(), 5577);
    EXPECT_EQ(first->Id(), 1);
    first->Delete();
    EXPECT_EQ(popup->Controls().Count(), 2);
    EXPECT_THROW(first->Caption(), HostError);
    EXPECT_THROW(first->Delete(), HostError);
    popup->Delete();
    EXPECT_EQ(menu.FindControl(msoControlPopup, 0, "VelmoraMenuBar"), nullptr);
    EXPECT_EQ(menu.Controls().Count(), 7);
}

TEST(CommandBars, ExecuteClicksEveryControlWithTheTag) {
    InMemoryHost host;
    auto& bars = host.application().ActiveExplorer()->CommandBars();
    auto menuButton = bars.Item("Menu Bar").FindControl(msoControlPopup, 30007)->Controls().Add(1);
    auto toolButton = bars.Item("Standard").Controls().Add(1, 0, 2);
    auto other = bars.Item("Standard").Controls().Add(1);
    menuButton->SetTag("VelmoraShareAndAttach");
    toolButton->SetTag("VelmoraShareAndAttach");
    other->SetTag("Else");
    std::vector<std::string> clicks;
    auto hook = menuButton->Click().subscribe([&](CommandBarControl& c, bool&) {
        clicks.push_back("menu:" + std::to_string(c.Index()));
    });
    auto hook2 =
        other->Click().subscribe([&](CommandBarControl&, bool&) { clicks.push_back("x"); });
    toolButton->Execute(); // only the menu entry is hooked, yet hears the toolbar's click
    EXPECT_EQ(clicks, (std::vector<std::string>{"menu:2"}));
    menuButton->Execute();
    EXPECT_EQ(clicks.size(), 2u);
    hook.reset();
    toolButton->Execute();
    EXPECT_EQ(clicks.size(), 2u);
    toolButton->SetVisible(false);
    EXPECT_THROW(toolButton->Execute(), HostError);
}

TEST(CommandBars, InspectorsHaveTheirOwnBarsExceptForNotes) {
    InMemoryHost host;
    auto& app = host.application();
    std::vector<InspectorPtr> opened;
    auto s =
        app.Inspectors().NewInspector().subscribe([&](InspectorPtr i) { opened.push_back(i); });
    auto mail = app.CreateItem(olMailItem);
    auto inspector = app.OpenInspector(mail);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], inspector);
    EXPECT_EQ(inspector->CurrentItem(), mail);
    EXPECT_EQ(app.OpenInspector(mail), inspector); // the same window again, no new event
    EXPECT_EQ(opened.size(), 1u);
    auto& standard = inspector->CommandBars().Item("Standard");
    EXPECT_NE(&standard, &app.ActiveExplorer()->CommandBars().Item("Standard"));
    auto attach = standard.Controls().Add(1, 0, standard.FindControl(0, 1074)->Index() + 1);
    attach->SetState(msoButtonDown);
    EXPECT_EQ(attach->State(), msoButtonDown);
    EXPECT_EQ(standard.Controls().Item(attach->Index() - 1)->Id(), 1074);
    EXPECT_THROW(attach->SetState(3), HostError);
    auto note = app.CreateItem(olNoteItem);
    note->Display();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_THROW(opened[1]->CommandBars(), HostError);
    EXPECT_EQ(app.Inspectors().Count(), 2);
    inspector->Close();
    EXPECT_EQ(app.Inspectors().Count(), 1);
    EXPECT_THROW(inspector->CommandBars(), HostError);
}

#include "support/ModalCloser.h"

#include "toolkit/controls/PopupMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(PopupMenu, CommandIdsMapToTheirOwnHandlers)
{
    std::vector<std::string> clicked;
    TPopupMenu menu;
    const UINT open = menu.Add("Open", [&] { clicked.push_back("Open"); });
    const UINT line = menu.Add("-");
    const UINT rename = menu.Add("Rename", [&] { clicked.push_back("Rename"); });

    EXPECT_NE(open, 0u);
    EXPECT_NE(open, line);
    EXPECT_NE(line, rename);
    ASSERT_EQ(menu.Count(), 3u);
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 3);
    EXPECT_EQ(menu.CommandOf(2), rename);

    EXPECT_TRUE(menu.DispatchCommand(rename));
    EXPECT_TRUE(menu.DispatchCommand(open));
    EXPECT_TRUE(menu.DispatchCommand(line)); // a separator has no handler; nothing runs
    EXPECT_FALSE(menu.DispatchCommand(rename + 10));
    EXPECT_EQ(clicked, (std::vector<std::string>{"Rename", "Open"}));

    char caption[32] = {};
    GetMenuStringA(menu.Handle(), rename, caption, sizeof caption, MF_BYCOMMAND);
    EXPECT_STREQ(caption, "Rename");
}

TEST(PopupMenu, ClearEmptiesThePlatformMenuToo)
{
    TPopupMenu menu;
    menu.Add("One");
    menu.Clear();
    EXPECT_EQ(menu.Count(), 0u);
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 0);
    bool ran = false;
    const UINT again = menu.Add("Two", [&] { ran = true; });
    EXPECT_TRUE(menu.DispatchCommand(again));
    EXPECT_TRUE(ran);
}

TEST(PopupMenu, ChoosingAnItemFromTheShownMenuRunsItsHandler)
{
    TestOwnerWindow owner;
    std::vector<std::string> clicked;
    TPopupMenu menu(owner.get());
    menu.Add("First", [&] { clicked.push_back("First"); });
    menu.Add("Second", [&] { clicked.push_back("Second"); });
    bool prepared = false;
    menu.OnPopup = [&](TPopupMenu&) { prepared = true; };

    // Expects no dialog; ends the menu if the keys below do not.
    const ModalCloser menuDeadline;
    // The menu's own loop reads these keys: down twice to the second item, then Enter.
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
        PostMessageA(owner.get(), WM_KEYDOWN, key, 0);
    const UINT chosen = menu.Popup(20, 20);
    EXPECT_TRUE(prepared);
    EXPECT_EQ(chosen, menu.CommandOf(1));
    EXPECT_EQ(clicked, std::vector<std::string>{"Second"});
}

TEST(PopupMenu, AnEmptyMenuShowsNothing)
{
    TPopupMenu menu; // no owner needed: nothing is tracked
    EXPECT_EQ(menu.Popup(0, 0), 0u);
}

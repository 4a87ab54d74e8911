// The hourglass for batched work: shown by the first owner, kept by nested ones, and the cursor
// before it put back by the last, also when an error passes through; meanwhile windows keep it.
#include "toolkit/core/BusyCursor.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Panel.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(BusyCursor, NestedOwnersShowTheHourglassUntilTheLastEnds)
{
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    const HCURSOR hourglass = LoadCursor(nullptr, IDC_WAIT);
    SetCursor(arrow);
    ASSERT_EQ(GetCursor(), arrow);
    EXPECT_FALSE(TBusyCursor::Active());
    {
        TBusyCursor outer;
        EXPECT_EQ(GetCursor(), hourglass);
        EXPECT_TRUE(TBusyCursor::Active());
        {
            TBusyCursor inner;
            EXPECT_EQ(GetCursor(), hourglass);
        }
        EXPECT_EQ(GetCursor(), hourglass) << "the outer owner still works";
        EXPECT_TRUE(TBusyCursor::Active());
    }
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_FALSE(TBusyCursor::Active());

    try {
        TBusyCursor busy;
        throw std::runtime_error("batch failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_FALSE(TBusyCursor::Active());
}

TEST(BusyCursor, WindowsKeepTheHourglassWhileTheMouseMoves)
{
    TForm form;
    form.SetBounds(40, 40, 200, 160);
    TPanel panel;
    panel.SetParent(&form);
    panel.SetBounds(10, 10, 100, 80);
    form.Show();
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    const HCURSOR hourglass = LoadCursor(nullptr, IDC_WAIT);
    // What the platform sends a window as the mouse moves over its client area.
    const auto mouseOver = [](HWND window) {
        return SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };

    SetCursor(arrow);
    {
        TBusyCursor busy;
        SetCursor(arrow); // as a class cursor would be set by a window that does not know
        EXPECT_TRUE(mouseOver(panel.Handle()));
        EXPECT_EQ(GetCursor(), hourglass);
        SetCursor(arrow);
        mouseOver(form.Handle());
        EXPECT_EQ(GetCursor(), hourglass);
    }
    // Not busy: the class cursor is set again.
    SetCursor(hourglass);
    mouseOver(panel.Handle());
    EXPECT_EQ(GetCursor(), arrow);
    panel.SetParent(nullptr);
}

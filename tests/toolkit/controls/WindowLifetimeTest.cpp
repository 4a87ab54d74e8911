#include "toolkit/core/Application.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/core/Exception.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A custom control that counts the runs of its destruction hook and can make it fail.
class ContextProbe : public TCustomControl {
public:
    ~ContextProbe() override { DestroyHandle(); }
    int destroying = 0;
    bool failing = false;

protected:
    void HandleDestroying() override
    {
        ++destroying;
        TCustomControl::HandleDestroying();
        if (failing)
            throw Exception("hook failed");
    }
};

// Collects the application's errors for as long as it lives.
struct Errors {
    Errors()
    {
        Application.OnException = [this](TObject*, const std::string& m) { messages.push_back(m); };
    }
    ~Errors() { Application.OnException = nullptr; }
    std::vector<std::string> messages;
};

TEST(WindowLifetime, ACustomControlGivesBackItsContextWheneverItsWindowGoes)
{
    Errors errors;
    {
        TForm form;
        form.SetBounds(0, 0, 200, 200);
        auto& panel = form.Own<TPanel>();
        panel.SetBounds(0, 0, 150, 150);
        panel.SetParent(&form);
        auto& probe = form.Own<ContextProbe>();
        probe.SetBounds(10, 10, 40, 40);
        probe.SetParent(&panel);

        // Drawing outside a paint borrows the window's own context.
        const HWND first = probe.Handle();
        ASSERT_EQ(WindowFromDC(probe.Canvas().Handle()), first);

        panel.SetParent(nullptr); // the probe's window goes with its parent's
        EXPECT_EQ(probe.destroying, 1);
        EXPECT_FALSE(probe.HandleAllocated());
        EXPECT_FALSE(probe.Canvas().HandleAllocated());

        // A new window, and a context of that window.
        panel.SetParent(&form);
        const HWND second = probe.Handle();
        EXPECT_EQ(WindowFromDC(probe.Canvas().Handle()), second);

        // Destroyed by the platform call from elsewhere; the hook's error reaches the application
        // and the window goes all the same.
        probe.failing = true;
        DestroyWindow(second);
        EXPECT_EQ(probe.destroying, 2);
        EXPECT_FALSE(probe.HandleAllocated());
        EXPECT_FALSE(probe.Canvas().HandleAllocated());
        EXPECT_EQ(errors.messages, (std::vector<std::string>{"hook failed"}));
    }
    EXPECT_EQ(errors.messages.size(), 1u);
}

} // namespace

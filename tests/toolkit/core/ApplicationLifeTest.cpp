// The application's life around its forms: errors while a form opens, ending the program from
// inside a form's creation, freeing the forms at the end, and minimising as one.
#include "toolkit/core/Application.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/controls/CheckBox.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ErrorCollector {
public:
    ErrorCollector()
    {
        Application.OnException = [this](TObject*, const std::string& message) { messages.push_back(message); };
    }
    ~ErrorCollector() { Application.OnException = nullptr; }
    std::vector<std::string> messages;
};

class ShowFailsForm : public TForm {
public:
    ShowFailsForm()
    {
        SetBounds(50, 50, 200, 120);
        OnShow = [](TObject*) { throw Exception("Cannot load the library \"Res.dll\""); };
    }
};

TEST(FormShow, ErrorInTheShowHandlerIsReportedAndTheWindowStillOpens)
{
    ErrorCollector errors;
    auto form = MakeForm<ShowFailsForm>();
    form->Show();
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "Cannot load the library \"Res.dll\"");
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

// Counts its own destruction, so a test can tell when (and whether) the application freed it.
class CountedForm : public TForm {
public:
    explicit CountedForm(std::vector<std::string>& log, std::string name, bool endInCreate = false)
        : log_(log), name_(std::move(name))
    {
        OnCreate = [this, endInCreate](TObject*) {
            log_.push_back(name_ + " created");
            if (endInCreate)
                throw EApplicationEnd();
        };
    }
    ~CountedForm() override { log_.push_back(name_ + " destroyed"); }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

TEST(ApplicationEnd, PassesThroughFormCreationWithoutAnErrorBox)
{
    ErrorCollector errors;
    std::vector<std::string> log;
    EXPECT_THROW(MakeForm<CountedForm>(log, "own", true), EApplicationEnd);
    // A form of one's own is gone with the unwinding.
    EXPECT_EQ(log, (std::vector<std::string>{"own created", "own destroyed"}));
    EXPECT_TRUE(errors.messages.empty());
}

TEST(ApplicationEnd, FormsTheApplicationOwnsAreFreedNewestFirstByDestroyForms)
{
    ErrorCollector errors;
    std::vector<std::string> log;
    TForm* const previousMain = Application.MainForm();
    Application.SetMainForm(nullptr);
    Application.CreateForm<CountedForm>(log, "main");
    EXPECT_THROW(Application.CreateForm<CountedForm>(log, "second", true), EApplicationEnd);
    // The ending form was already the application's: it waits for DestroyForms like the rest.
    EXPECT_EQ(log, (std::vector<std::string>{"main created", "second created"}));
    Application.DestroyForms();
    EXPECT_EQ(log, (std::vector<std::string>{"main created", "second created", "second destroyed", "main destroyed"}));
    EXPECT_EQ(Application.MainForm(), nullptr);
    EXPECT_TRUE(errors.messages.empty());
    Application.SetMainForm(previousMain);
}

class PlainForm : public TForm {
public:
    PlainForm(int left, int top)
    {
        SetCaption("Plain");
        SetBounds(left, top, 220, 140);
    }
};

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        Application.ProcessMessages();
        Sleep(10);
    }
}

TEST(MinimiseAsOne, EveryShownWindowGoesDownWithTheMainFormAndComesBackWithIt)
{
    TForm* const previousMain = Application.MainForm();
    auto main = MakeForm<PlainForm>(40, 40);
    Application.SetMainForm(main.get());
    auto dialog = MakeForm<PlainForm>(300, 40);
    auto hidden = MakeForm<PlainForm>(560, 40);
    main->Show();
    dialog->Show();
    hidden->Show();
    hidden->Hide();
    Settle();

    Application.Minimize();
    Settle();
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    // The program hid nothing in its own forms' state: no hide event, still meant to be shown.
    EXPECT_TRUE(dialog->Visible());

    // The user restores the main window the platform's way.
    SendMessageA(main->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Settle();
    EXPECT_FALSE(IsIconic(main->Handle()));
    EXPECT_TRUE(IsWindowVisible(dialog->Handle()));
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));

    // Minimising through the window's own system command does the same.
    SendMessageA(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Settle();
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    Application.Restore();
    Settle();
    EXPECT_TRUE(IsWindowVisible(dialog->Handle()));
    Application.SetMainForm(previousMain);
}

class ColourForm : public TForm {
public:
    ColourForm()
    {
        BuildLayout(*this, {
            Place<TPanel>("Panel", 0, 0, 200, 100),
            Place<TCheckBox>("Box", 8, 8, 120, 17, "Panel"),
        });
    }
};

TEST(ParentColour, FollowsTheParentUntilTheControlGetsItsOwn)
{
    auto form = MakeForm<ColourForm>();
    auto& panel = form->Component<TPanel>("Panel");
    auto& box = form->Component<TCheckBox>("Box");
    panel.SetColor(RGBColor(222, 222, 222));
    EXPECT_NE(box.Color(), RGBColor(222, 222, 222)); // not followed unless asked
    box.SetParentColor(true);
    EXPECT_EQ(box.Color(), RGBColor(222, 222, 222));
    panel.SetColor(clWhite);
    EXPECT_EQ(box.Color(), clWhite);
    box.SetColor(clRed);
    EXPECT_FALSE(box.ParentColor());
    panel.SetColor(clBlue);
    EXPECT_EQ(box.Color(), clRed);
}

TEST(ImageAutoSize, TakesThePicturesSizeNowAndOnEveryChange)
{
    TImage image;
    image.SetBounds(5, 6, 351, 188);
    TBitmap first(120, 80);
    image.Picture().SetGraphic(&first);
    EXPECT_EQ(image.Width(), 351); // off: the control keeps its size
    image.SetAutoSize(true);
    EXPECT_EQ(image.BoundsRect().right, 5 + 120);
    EXPECT_EQ(image.Height(), 80);
    TBitmap second(400, 300);
    image.Picture().SetGraphic(&second);
    EXPECT_EQ(image.Left(), 5);
    EXPECT_EQ(image.Width(), 400);
    EXPECT_EQ(image.Height(), 300);
}

} // namespace

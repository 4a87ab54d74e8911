// What a screen reader learns of the bitmap buttons, asked the way it asks: through
// AccessibleObjectFromWindow and IAccessible.
#include "skin/BmpButton.h"
#include "skin/ButtonAccessible.h"
#include "toolkit/core/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/FormLayout.h"
#include "toolkit/core/Scoped.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>

namespace {

class AccessForm : public TForm {
public:
    AccessForm()
    {
        SetCaption("Adorn Folder");
        SetBorderStyle(bsNone);
        SetBounds(50, 50, 300, 120);
        BuildLayout(*this, {
            Place<TBmpButton>("Adorn", 10, 10, 108, 38, {}, [](TBmpButton& b) {
                b.Bitmaps().LoadFromResources(GetModuleHandleA(nullptr), "BTN_ADORN");
                b.SetCaption("&Adorn");
                b.SetCaptionInPicture(true);
            }),
            Place<TBmpButton>("Latch", 130, 10, 108, 38, {}, [](TBmpButton& b) {
                b.Bitmaps().LoadFromResources(GetModuleHandleA(nullptr), "BTN_OK");
                b.SetCaption("Bold && &strong");
                b.SetCaptionInPicture(true);
                b.SetGroupIndex(1);
                b.SetAllowAllUp(true);
            }),
        });
        for (const char* name : {"Adorn", "Latch"})
            Button(name).OnClick = [this, name](TObject*) { clicks += std::string(clicks.empty() ? "" : " ") + name; };
    }
    TBmpButton& Button(const char* name) { return Component<TBmpButton>(name); }
    std::string clicks;
};

ComPtr<IAccessible> ObjectOf(HWND window, LONG id = OBJID_CLIENT)
{
    ComPtr<IAccessible> object;
    EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(id), IID_IAccessible, object.put_void()), S_OK);
    return object;
}

VARIANT Self()
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

std::string Text(BSTR text)
{
    std::string result;
    if (text) {
        for (const wchar_t* p = text; *p; ++p)
            result += static_cast<char>(*p);
        SysFreeString(text);
    }
    return result;
}

std::string Name(IAccessible& object)
{
    BSTR name = nullptr;
    return SUCCEEDED(object.get_accName(Self(), &name)) ? Text(name) : "(failed)";
}

LONG Role(IAccessible& object)
{
    VARIANT role;
    VariantInit(&role);
    return SUCCEEDED(object.get_accRole(Self(), &role)) && role.vt == VT_I4 ? role.lVal : -1;
}

LONG State(IAccessible& object)
{
    VARIANT state;
    VariantInit(&state);
    return SUCCEEDED(object.get_accState(Self(), &state)) && state.vt == VT_I4 ? state.lVal : -1;
}

std::string DefaultAction(IAccessible& object)
{
    BSTR action = nullptr;
    return SUCCEEDED(object.get_accDefaultAction(Self(), &action)) ? Text(action) : "(failed)";
}

std::string Shortcut(IAccessible& object)
{
    BSTR keys = nullptr;
    return SUCCEEDED(object.get_accKeyboardShortcut(Self(), &keys)) ? Text(keys) : "(failed)";
}

std::string WindowText(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class ButtonAccessibility : public testing::Test {
protected:
    ScopedComApartment com_;
};

TEST_F(ButtonAccessibility, APushButtonIsNamedWithItsCaptionAndSaysItsStates)
{
    AccessForm form;
    form.Show();
    TBmpButton& adorn = form.Button("Adorn");
    const HWND window = adorn.Handle();
    // The caption is the window text, though the picture carries the word.
    EXPECT_EQ(WindowText(window), "&Adorn");
    ComPtr<IAccessible> object = ObjectOf(window);
    ASSERT_TRUE(object);
    EXPECT_EQ(Name(*object.get()), "Adorn");
    EXPECT_EQ(Role(*object.get()), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(Shortcut(*object.get()), "Alt+A");
    EXPECT_EQ(DefaultAction(*object.get()), "Press");

    form.Button("Latch").SetFocus();
    LONG state = State(*object.get());
    EXPECT_TRUE(state & STATE_SYSTEM_FOCUSABLE);
    EXPECT_FALSE(state & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PRESSED | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_DEFAULT));
    adorn.SetFocus();
    form.SetDefaultControl(&adorn);
    EXPECT_EQ(State(*object.get()) & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT), STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT);
    // Held down by the mouse.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_TRUE(State(*object.get()) & STATE_SYSTEM_PRESSED);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(200, 10)); // released outside: no click
    EXPECT_FALSE(State(*object.get()) & STATE_SYSTEM_PRESSED);
    adorn.SetEnabled(false);
    state = State(*object.get());
    EXPECT_TRUE(state & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_FALSE(state & STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(object->accDoDefaultAction(Self()), E_FAIL);
    Application.ProcessMessages();
    EXPECT_EQ(form.clicks, "");
    form.Hide();
}

TEST_F(ButtonAccessibility, TheDefaultActionPressesOnceTheRequestHasReturned)
{
    AccessForm form;
    form.Show();
    ComPtr<IAccessible> object = ObjectOf(form.Button("Adorn").Handle());
    ASSERT_TRUE(object);
    EXPECT_EQ(object->accDoDefaultAction(Self()), S_OK);
    EXPECT_EQ(form.clicks, "") << "nothing runs inside the screen reader's call";
    Application.ProcessMessages();
    EXPECT_EQ(form.clicks, "Adorn");
    EXPECT_EQ(form.ModalResult(), mrNone);

    // A window disabled meanwhile (a modal window opened over it) takes no press.
    EXPECT_EQ(object->accDoDefaultAction(Self()), S_OK);
    EnableWindow(form.Handle(), FALSE);
    Application.ProcessMessages();
    EnableWindow(form.Handle(), TRUE);
    EXPECT_EQ(form.clicks, "Adorn");
    form.Hide();
}

TEST_F(ButtonAccessibility, ALatchedButtonIsACheckButtonWithItsCheckedState)
{
    AccessForm form;
    form.Show();
    const HWND window = form.Button("Latch").Handle();
    ComPtr<IAccessible> object = ObjectOf(window);
    ASSERT_TRUE(object);
    EXPECT_EQ(Name(*object.get()), "Bold & strong");
    EXPECT_EQ(Role(*object.get()), ROLE_SYSTEM_CHECKBUTTON);
    EXPECT_FALSE(State(*object.get()) & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(DefaultAction(*object.get()), "Check");
    EXPECT_EQ(object->accDoDefaultAction(Self()), S_OK);
    Application.ProcessMessages();
    EXPECT_TRUE(form.Button("Latch").Down());
    EXPECT_TRUE(State(*object.get()) & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(DefaultAction(*object.get()), "Uncheck");
    EXPECT_EQ(form.clicks, "Latch");
    form.Hide();
}

TEST_F(ButtonAccessibility, AnObjectKeptPastItsButtonAnswersNothingAndTheFormIsNamed)
{
    ComPtr<IAccessible> kept;
    {
        AccessForm form;
        form.Show();
        kept = ObjectOf(form.Button("Adorn").Handle());
        ASSERT_TRUE(kept);
        // A skinned window has no caption bar; its title names it all the same.
        ComPtr<IAccessible> window = ObjectOf(form.Handle());
        ASSERT_TRUE(window);
        EXPECT_EQ(Name(*window.get()), "Adorn Folder");
        form.Hide();
    }
    BSTR name = nullptr;
    EXPECT_EQ(kept->get_accName(Self(), &name), E_FAIL);
    EXPECT_EQ(Role(*kept.get()), -1);
    EXPECT_EQ(kept->accDoDefaultAction(Self()), E_FAIL);
}

TEST(SpokenCaption, AccessKeyMarksAreNotRead)
{
    EXPECT_EQ(SpokenCaption("&Adorn"), "Adorn");
    EXPECT_EQ(SpokenCaption("Fish && &chips"), "Fish & chips");
    EXPECT_EQ(SpokenCaption("Close"), "Close");
    EXPECT_EQ(SpokenCaption("Odd&"), "Odd");
}

} // namespace

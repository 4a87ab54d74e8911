#include "skin/ButtonAccessible.h"

#include "skin/BmpButton.h"
#include "toolkit/controls/Form.h"
#include "toolkit/core/LateBound.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Scoped.h"

#include <oleacc.h>

#include <atomic>
#include <new>
#include <utility>

namespace {

bool IsSelf(const VARIANT& child) noexcept
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// A copy of the text for the caller, who frees it; null when memory ran out.
BSTR CallerString(const std::string& text) noexcept
{
    try {
        const std::wstring wide = AnsiToWide(text);
        return late::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    } catch (...) {
        return nullptr;
    }
}

// The platform's standard object answers what is common to every window; the button's own
// role, name, state and action are answered here. It holds the window, not the button: a
// screen reader may keep the object after the button has gone, and then finds none.
class ButtonAccessible final : public IAccessible, public IOleWindow {
public:
    ButtonAccessible(HWND window, ComPtr<IAccessible> standard) noexcept
        : window_(window), standard_(std::move(standard))
    {
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IAccessible))
            *object = static_cast<IAccessible*>(this);
        else if (IsEqualIID(iid, IID_IOleWindow))
            *object = static_cast<IOleWindow*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() noexcept override
    {
        const long left = --refs_;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override
    {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override
    {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) noexcept override
    {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) noexcept override
    {
        return standard_->Invoke(id, iid, locale, flags, params, result, exception, argument);
    }

    // IAccessible: what makes it a button.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) noexcept override
    {
        if (!IsSelf(child))
            return standard_->get_accName(child, name);
        if (!name)
            return E_POINTER;
        *name = nullptr;
        TBmpButton* button = Button();
        if (!button)
            return E_FAIL;
        try {
            *name = CallerString(SpokenCaption(button->Caption()));
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) noexcept override
    {
        if (!IsSelf(child))
            return standard_->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        TBmpButton* button = Button();
        if (!button)
            return E_FAIL;
        role->vt = VT_I4;
        role->lVal = button->GroupIndex() != 0 ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) noexcept override
    {
        if (!IsSelf(child))
            return standard_->get_accState(child, state);
        if (!state)
            return E_POINTER;
        TBmpButton* button = Button();
        if (!button)
            return E_FAIL;
        // Whether the window is on the screen is the platform's to say.
        VARIANT standard{};
        LONG bits = 0;
        if (SUCCEEDED(standard_->get_accState(child, &standard)) && standard.vt == VT_I4)
            bits = standard.lVal & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN);
        const bool usable = IsWindowEnabled(window_) && button->Enabled();
        if (!usable)
            bits |= STATE_SYSTEM_UNAVAILABLE;
        else
            bits |= STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == window_)
            bits |= STATE_SYSTEM_FOCUSED;
        if (button->State() == bstDown)
            bits |= STATE_SYSTEM_PRESSED;
        if (button->Down())
            bits |= button->GroupIndex() != 0 ? STATE_SYSTEM_CHECKED : STATE_SYSTEM_PRESSED;
        if (button->MouseInside())
            bits |= STATE_SYSTEM_HOTTRACKED;
        if (const TForm* form = GetParentForm(*button); form && form->DefaultControl() == button)
            bits |= STATE_SYSTEM_DEFAULT;
        state->vt = VT_I4;
        state->lVal = bits;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) noexcept override
    {
        if (!IsSelf(child))
            return standard_->get_accDefaultAction(child, action);
        if (!action)
            return E_POINTER;
        *action = nullptr;
        TBmpButton* button = Button();
        if (!button)
            return E_FAIL;
        const char* word = button->GroupIndex() == 0 ? "Press" : button->Down() ? "Uncheck" : "Check";
        *action = CallerString(word);
        return *action ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) noexcept override
    {
        if (!IsSelf(child))
            return standard_->accDoDefaultAction(child);
        TBmpButton* button = Button();
        if (!button)
            return E_FAIL;
        if (!button->Enabled() || !IsWindowEnabled(window_))
            return E_FAIL;
        return PostMessageA(window_, DefaultActionMsg, 0, 0) ? S_OK : E_FAIL;
    }

    // IAccessible: the rest is the standard object's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) noexcept override
    {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) noexcept override
    {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) noexcept override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) noexcept override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) noexcept override
    {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) noexcept override
    {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) noexcept override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) noexcept override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) noexcept override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) noexcept override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) noexcept override
    {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) noexcept override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) noexcept override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) noexcept override
    {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) noexcept override
    {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) noexcept override
    {
        return standard_->put_accValue(child, value);
    }

    // IOleWindow: the window, for whoever asks which one the object stands for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override
    {
        if (!window)
            return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }

private:
    ~ButtonAccessible() = default;

    // The button, while its window lives and is one of ours.
    TBmpButton* Button() const noexcept
    {
        return IsWindow(window_) ? dynamic_cast<TBmpButton*>(TWinControl::FromHandle(window_)) : nullptr;
    }

    std::atomic<long> refs_{1};
    HWND window_;
    ComPtr<IAccessible> standard_;
};

} // namespace

LRESULT ButtonAccessibleObject(HWND window, WPARAM flags, LPARAM objectId) noexcept
{
    if (static_cast<LONG>(objectId) != OBJID_CLIENT)
        return 0;
    ComPtr<IAccessible> standard;
    if (FAILED(late::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, standard.put_void())) || !standard)
        return 0;
    ButtonAccessible* object = new (std::nothrow) ButtonAccessible(window, std::move(standard));
    if (!object)
        return 0;
    // The platform takes its own reference; ours ends here.
    const LRESULT result = late::LresultFromObject(IID_IAccessible, flags, static_cast<IAccessible*>(object));
    object->Release();
    return result > 0 ? result : 0;
}

std::string SpokenCaption(const std::string& caption)
{
    std::string spoken;
    spoken.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        spoken += caption[i];
    }
    return spoken;
}

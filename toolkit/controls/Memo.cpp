#include "toolkit/controls/Memo.h"

#include "toolkit/graphics/Font.h"

TMemo::TMemo()
{
    SetTabStop(true);
    SetColor(clWindow);
}

void TMemo::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.ClassName = "EDIT";
    params.Style = (params.Style & ~WS_CLIPCHILDREN) | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

std::string TMemo::Text() const
{
    if (!HandleAllocated())
        return Caption();
    const HWND window = const_cast<TMemo*>(this)->Handle();
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

LRESULT TMemo::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_GETDLGCODE) {
        LRESULT code = TWinControl::WndProc(msg, wParam, lParam) & ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        // Enter makes a new line here, and is not the dialog's OK.
        if (const auto* key = reinterpret_cast<const MSG*>(lParam); key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

void TMemo::SetText(const std::string& text)
{
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            lines.push_back('\r');
        lines.push_back(text[i]);
    }
    SetCaption(lines);
}

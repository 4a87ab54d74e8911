#pragma once
// A multi-line text box. Text holds every line, separated by CR LF. Tab moves the focus on
// rather than typing a tab.
#include "toolkit/controls/WinControl.h"

class TMemo : public TWinControl {
public:
    TMemo();

    std::string Text() const;
    // A lone line feed is taken as a line break too.
    void SetText(const std::string& text);

protected:
    void CreateParams(TCreateParams& params) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

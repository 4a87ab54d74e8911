#pragma once
// Driving a modal dialog from inside its own message loop with real messages: steps run one
// after another from a timer, clicks are mouse messages posted at a control's place, and
// message boxes are answered only when their caption and text are the ones expected.
#include "support/ModalCloser.h"
#include "toolkit/core/Timer.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TForm;
class TBitmap;

// A step returns false to be asked again at the next tick (it waits for a window to come up).
using DriverStep = std::function<bool()>;

class ModalScript {
public:
    // After `deadlineTicks` ticks of 20 ms the script gives up: it fails the test, answers any
    // box with Cancel and asks the form to close, so a broken dialog cannot hang the run.
    ModalScript(TForm& form, std::vector<DriverStep> steps, int deadlineTicks = 250);
    bool Finished() const { return next_ == steps_.size(); }

private:
    void Tick();

    TForm& form_;
    std::vector<DriverStep> steps_;
    std::size_t next_ = 0;
    int ticksLeft_;
    bool running_ = false;
    ModalCloser::HandsOff handsOff_; // the script's steps answer the boxes it expects
    TTimer timer_;
};

// The window that a mouse press at the centre of the control reaches, found from the form's
// client area down through the child windows as the system finds it.
HWND WindowAtCentre(TForm& form, TControl& control);
// Posts a left press and release at the control's centre to whatever window is there; false
// (and nothing posted) when that window is not the control's own.
bool ClickCentre(TForm& form, TControl& control);
// Clicks a page's tab of a page control.
bool ClickTab(HWND pageControl, int tab);

// A visible message box or common dialog of this thread with this caption whose static texts
// include `text`: null while there is none.
HWND FindBox(const std::string& caption, const std::string& text = {});
// All static texts of a box, one after another.
std::string BoxText(HWND box);
// A step: waits for the box, records its text in `seen` and answers it with `command`.
DriverStep AnswerBox(std::string caption, std::string text, WPARAM command, std::string* seen = nullptr,
                     std::function<void(HWND)> prepare = {});

// The window as the screen shows it, with `margin` pixels around it.
std::unique_ptr<TBitmap> CaptureWindow(HWND window, int margin = 10);
// Saves a capture as <name>.bmp into $QUORREL_SCREENSHOTS (the build turns it into .png).
void SaveScreenshot(TBitmap& shot, const std::string& name);
// The plain RGB value of a pixel.
COLORREF PixelOf(TBitmap& bitmap, int x, int y);

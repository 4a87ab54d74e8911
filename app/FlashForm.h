#pragma once
// The splash window shown while the main window opens: the product library's picture, no
// border, centred. 250 ms after it appears it reads the product strings and titles the main
// window; it closes once Timer2 has fired twice, about two seconds after it appeared, or at
// once when the user presses a key or clicks it (the product strings are read all the same).
#include "toolkit/controls/Form.h"

#include <functional>

class TImage;
class TTimer;

class TFrmFlashForm : public TForm {
public:
    // `mainForm` is the window the product information is applied to.
    explicit TFrmFlashForm(TForm& mainForm);

    TImage& ImgFlash;
    TTimer& Timer1;
    TTimer& Timer2;
    // How often Timer2 has fired since the window was shown.
    int Ticks = 0;
    // What the first tick of Timer1 does before the wait: ApplyProductInfo. The window closes
    // whatever this raises (it has no caption and no close button of its own); the error then
    // goes on to the application.
    std::function<void(TForm& mainForm)> ApplyStep;
    // What follows it while the splash is up: the main window's making that its appearance
    // need not wait for. It runs when ApplyStep succeeded.
    std::function<void()> BehindStep;

    // The interval of Timer2 for every splash made afterwards (1000 ms). The start-up
    // benchmark shortens it to measure the program's own work without the fixed wait.
    static void SetTickInterval(unsigned milliseconds) noexcept;

    void FormShow(TObject* sender);
    void Timer1Timer(TObject* sender);
    void Timer2Timer(TObject* sender);
    // A key or a click: the splash ends without waiting for its timers.
    void Dismiss();
    bool Dismissed() const noexcept { return dismissed_; }

private:
    TForm& mainForm_;
    bool dismissed_ = false;
};

// Fills ProductInfo from the product library and titles the main window with ProductName, a
// blank and TitleSuffix (its hidden label lblTitle, when it has one, gets the same text).
void ApplyProductInfo(TForm& mainForm);

// Shows the splash modally, owned by the main window; returns when it has closed. Raises
// EResNotFound when the product library or its picture is missing, EInvalidGraphic when the
// picture cannot be decoded; the splash window is gone on every path.
// `behind` is its BehindStep.
void ShowSplash(TForm& mainForm, std::function<void()> behind = {});

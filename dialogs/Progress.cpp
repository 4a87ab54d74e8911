#include "dialogs/Progress.h"

#include "engine/FolderCtrl.h"
#include "engine/FolderFailures.h"
#include "toolkit/core/Application.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/controls/Button.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/MessageBox.h"
#include "toolkit/graphics/Font.h"

#include <vector>

namespace {
constexpr int kClientWidth = 420, kClientHeight = 121;
constexpr int kMargin = 14;
constexpr int kViewHeight = 84;
constexpr RECT kCountLine{kMargin, 12, kClientWidth - kMargin, 27};
constexpr RECT kBar{kMargin, 32, kClientWidth - kMargin, 50};
constexpr RECT kFolderLine{kMargin, 60, kClientWidth - kMargin, 75};
constexpr RECT kCancelButton{kClientWidth - kMargin - 75, kViewHeight, kClientWidth - kMargin, kViewHeight + 23};
constexpr UINT kLineFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

std::uint64_t SteadyMilliseconds()
{
    return GetTickCount64();
}

TMillisecondClock& DefaultClock()
{
    static TMillisecondClock clock = &SteadyMilliseconds;
    return clock;
}

bool IsInput(UINT msg) noexcept
{
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
           (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK) || msg == WM_MOUSELEAVE || msg == WM_NCMOUSELEAVE;
}
} // namespace

// Count, bar and folder, composed off screen and copied in one go: it is redrawn often.
class TProgressView : public TCustomControl {
public:
    explicit TProgressView(TFormProgress& form) : form_(form) { SetControlStyle(ControlStyle() | csOpaque); }

protected:
    void Paint() override
    {
        TBitmap frame(Width(), Height());
        TCanvas& c = frame.Canvas();
        c.Brush().SetColor(clBtnFace);
        c.FillRect(ClientRect());
        c.Font().Assign(Font());
        c.Brush().SetStyle(TBrushStyle::bsClear);
        RECT line = ScaledRectToDpi(kCountLine, Dpi());
        c.DrawText(form_.CountText(), line, kLineFormat);
        line = ScaledRectToDpi(kFolderLine, Dpi());
        c.DrawText(form_.FolderText(), line, kLineFormat | DT_END_ELLIPSIS);

        RECT bar = ScaledRectToDpi(kBar, Dpi());
        DrawEdge(c.Handle(), &bar, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        c.Refresh();
        c.Brush().SetStyle(TBrushStyle::bsSolid);
        c.Brush().SetColor(clWindow);
        c.FillRect(bar);
        const int filled = FilledWidth(form_.Done(), form_.Total(), bar.right - bar.left);
        if (filled > 0) {
            c.Brush().SetColor(clHighlight);
            c.FillRect(RECT{bar.left, bar.top, bar.left + filled, bar.bottom});
        }
        Canvas().Draw(0, 0, frame);
    }

private:
    TFormProgress& form_;
};

TFormProgress::TFormProgress(HWND owner) : owner_(owner)
{
    SetCaption(Application.Title());
    SetBorderStyle(bsSingle);
    SetBorderIcons(0);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(11);
    SetClientSize(kClientWidth, kClientHeight);
    view_ = &Own<TProgressView>(*this);
    view_->SetName("ProgressView");
    view_->SetParent(this);
    view_->SetBounds(0, 0, kClientWidth, kViewHeight);
    cancel_ = &Own<TButton>();
    cancel_->SetName("CancelButton");
    cancel_->SetCaption("Cancel");
    cancel_->SetParent(this);
    cancel_->SetBounds(kCancelButton.left, kCancelButton.top, kCancelButton.right - kCancelButton.left,
                       kCancelButton.bottom - kCancelButton.top);
    cancel_->OnClick = [this](TObject*) { RequestCancel(); };
    SetCancelControl(cancel_);

    CentreOnOwner();
}

void TFormProgress::CentreOnOwner()
{
    RECT area{};
    if (!owner_ || !GetWindowRect(owner_, &area))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    SetBounds(area.left + (area.right - area.left - Width()) / 2, area.top + (area.bottom - area.top - Height()) / 2,
              Width(), Height());
}

void TFormProgress::HandleCreated()
{
    TForm::HandleCreated();
    // Its size at the display's scale is known only now.
    CentreOnOwner();
}

TFormProgress::~TFormProgress() = default;

void TFormProgress::CreateParams(TCreateParams& params)
{
    TForm::CreateParams(params);
    params.WndParent = owner_;
}

LRESULT TFormProgress::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Closing asks the work to stop; only its end closes the window.
    if (msg == WM_CLOSE || (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
        RequestCancel();
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

void TFormProgress::RequestCancel()
{
    if (cancelRequested_)
        return;
    cancelRequested_ = true;
    cancel_->SetCaption("Stopping...");
    cancel_->SetEnabled(false);
}

void TFormProgress::SetProgress(std::size_t done, std::size_t total, const std::string& folder)
{
    done_ = done;
    total_ = total;
    // Without its closing backslash: a shortened path keeps its last part, the folder's name.
    folder_ = folder;
    if (folder_.size() > 3 && folder_.back() == '\\')
        folder_.pop_back();
    if (view_->HandleAllocated()) {
        view_->Invalidate();
        view_->Update();
    }
}

std::string TFormProgress::CountText() const
{
    return FolderCountText(done_, total_);
}

std::string TFormProgress::FolderText()
{
    // The platform shortens a path in its middle, keeping the drive and the last folder; the
    // buffer leaves it room for the ellipsis.
    std::vector<char> text(folder_.begin(), folder_.end());
    text.resize(folder_.size() + 5, '\0');
    TBitmap measure(1, 1);
    TCanvas& canvas = measure.Canvas();
    canvas.Font().Assign(Font());
    canvas.TextHeight("Wg"); // selects the font into the context
    RECT line = ScaledRectToDpi(kFolderLine, Dpi());
    DrawTextA(canvas.Handle(), text.data(), -1, &line,
              kLineFormat | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
    return text.data();
}

TProgressScope::TProgressScope(TFolderCtrl& ctrl, TMillisecondClock clock)
    : ctrl_(ctrl), previous_(ctrl.OnProgress), clock_(clock ? std::move(clock) : DefaultClock()),
      pacing_(clock_())
{
    if (!Application.Forms().empty())
        busy_.emplace();
    ctrl_.OnProgress = [this](std::size_t done, std::size_t total, const std::string& folder) {
        Report(done, total, folder);
        if (previous_)
            previous_(done, total, folder);
    };
}

void TProgressScope::SetDefaultClock(TMillisecondClock clock)
{
    DefaultClock() = clock ? std::move(clock) : TMillisecondClock(&SteadyMilliseconds);
}

TProgressScope::~TProgressScope()
{
    ctrl_.OnProgress = previous_;
    Close();
}

void TProgressScope::Report(std::size_t done, std::size_t total, const std::string& folder)
{
    if (failed_)
        return;
    try {
        switch (pacing_.Report(clock_())) {
        case TProgressPacing::TStep::Wait:
            return;
        case TProgressPacing::TStep::Show:
            Open();
            break;
        case TProgressPacing::TStep::Refresh:
            break;
        }
        form_->SetProgress(done, total, folder);
        Pump();
    } catch (...) {
        // The window is a courtesy: the work goes on without it rather than stop half done.
        failed_ = true;
        Close();
        return;
    }
    // The folder just reported is finished: a stop now leaves no folder half changed.
    if (form_ && form_->CancelRequested())
        throw EWorkStopped();
}

void TProgressScope::Open()
{
    if (!busy_)
        busy_.emplace();
    previousActive_ = GetActiveWindow();
    form_ = std::make_unique<TFormProgress>(previousActive_);
    form_->AfterConstruction();
    disabled_ = std::make_unique<TDisabledWindows>(form_->Handle());
    form_->Show();
}

void TProgressScope::Close() noexcept
{
    // The others first, so that activation can go back to them when this window hides.
    if (disabled_)
        disabled_->Restore();
    disabled_.reset();
    if (form_) {
        Guarded([this] { form_->Hide(); });
        form_.reset();
        if (previousActive_ && IsWindow(previousActive_))
            SetActiveWindow(previousActive_);
    }
    if (quit_) {
        quit_ = false;
        PostQuitMessage(static_cast<int>(quitCode_));
    }
}

void TProgressScope::Pump() noexcept
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Kept for the message loop that runs after the work.
            quit_ = true;
            quitCode_ = msg.wParam;
            return;
        }
        if (IsInput(msg.message)) {
            // The progress window's Cancel, Esc and close are the one way in.
            const HWND window = form_ ? form_->AllocatedHandle() : nullptr;
            if (!window || (msg.hwnd != window && !IsChild(window, msg.hwnd)))
                continue;
            if (GuardedResult([&] { return form_->PreTranslateMessage(msg); }, true))
                continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void RunWithProgress(TFolderCtrl& ctrl, const std::function<void()>& work)
{
    try {
        const TProgressScope progress(ctrl);
        work();
    } catch (const EFoldersNotChanged& e) {
        if (!e.Stopped())
            throw;
        // A stop the user asked for is no error: what was done and what was not, told plainly,
        // once the progress window has gone.
        ShowMessageBox(e.Message(), 1);
    }
}

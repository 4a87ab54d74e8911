#include "toolkit/graphics/BitmapCanvas.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"

TBitmapCanvas::TBitmapCanvas(TBitmap& owner) : owner_(owner)
{
    OnChange = [this](TObject*) { owner_.CanvasChanged(); };
}

TBitmapCanvas::~TBitmapCanvas()
{
    FreeContext();
}

HDC TBitmapCanvas::PreparedHandle()
{
    RequireState(kAll);
    return Handle();
}

void TBitmapCanvas::CreateHandle()
{
    ScopedDC dc(CreateCompatibleDC(nullptr));
    if (!dc)
        throw EOSError("Cannot create a memory device context");
    previousBitmap_ = owner_.handle_ ? SelectObject(dc.get(), owner_.handle_.get()) : nullptr;
    memoryDC_ = std::move(dc);
    SetHandle(memoryDC_.get());
}

void TBitmapCanvas::FreeContext() noexcept
{
    if (!memoryDC_)
        return;
    ReleaseContext();
    if (previousBitmap_)
        SelectObject(memoryDC_.get(), previousBitmap_);
    previousBitmap_ = nullptr;
    memoryDC_.reset();
}

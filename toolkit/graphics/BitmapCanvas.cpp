#include "toolkit/graphics/BitmapCanvas.h"

#include "toolkit/graphics/Bitmap.h"

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
    memoryDC_ = MemoryDCWith(owner_.handle_.get());
    SetHandle(memoryDC_.get());
}

void TBitmapCanvas::FreeContext() noexcept
{
    if (!memoryDC_)
        return;
    ReleaseContext();
    memoryDC_.reset();
}

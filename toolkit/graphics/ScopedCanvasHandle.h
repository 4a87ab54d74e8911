#pragma once
// A canvas drawing into a device context that someone else owns (a paint message's), for a
// scope: the canvas lets go of it, with its tools deselected, when the scope ends.
#include "toolkit/graphics/Canvas.h"

class ScopedCanvasHandle {
public:
    ScopedCanvasHandle(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
    ~ScopedCanvasHandle() { canvas_.SetHandle(nullptr); }
    ScopedCanvasHandle(const ScopedCanvasHandle&) = delete;
    ScopedCanvasHandle& operator=(const ScopedCanvasHandle&) = delete;

private:
    TCanvas& canvas_;
};

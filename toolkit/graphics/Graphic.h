#pragma once
// A picture of some kind (bitmap, icon, metafile, JPEG) that can load itself and draw
// itself onto a canvas.
#include "toolkit/core/Object.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TCanvas;

using TBytes = std::vector<std::uint8_t>;
using TByteSpan = std::span<const std::uint8_t>;

class TGraphic : public TObject {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    // Whether key-coloured pixels are left out when drawn (meaning depends on the kind).
    bool Transparent() const noexcept { return transparent_; }
    virtual void SetTransparent(bool value);

    // Loading replaces the picture only when the data is valid; otherwise EInvalidGraphic
    // is raised and the old picture stays.
    void LoadFromFile(const std::string& path);
    virtual void LoadFromStream(TByteSpan data) = 0;
    // A resource of the given type (for example "jpeg") of a loaded module.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name, const char* type);

    // A new graphic of the same kind holding a copy of this picture.
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    // Fired with the graphic as sender whenever the picture changed.
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the picture scaled into the rectangle; reached through TCanvas::Draw and
    // StretchDraw, which first select the canvas's tools (their colours matter for one-bit
    // pictures and for the copy mode).
    virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;
    void Changed();

private:
    bool transparent_ = false;
};

// The whole content of a file; EInvalidGraphic when it cannot be read.
TBytes ReadPictureFile(const std::string& path);
// The bytes of a module's resource; EResNotFound when the module has no such resource.
TByteSpan ResourceBytes(HINSTANCE instance, const char* name, const char* type);

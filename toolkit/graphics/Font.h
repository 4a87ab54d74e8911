#pragma once
// The text tool of a canvas. Height is the character height in pixels at 96 DPI (forms use
// "MS Sans Serif" at 11); the font is made that many times Dpi/96 high, so text keeps its size
// on every display. The colour is the text colour, also the colour of 0 bits when a one-bit
// picture is copied onto a colour canvas.
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/core/DpiScale.h"

#include <string>

class TFont : public TGraphicsObject {
public:
    const std::string& Name() const noexcept { return name_; }
    void SetName(const std::string& name);
    int Height() const noexcept { return height_; }
    void SetHeight(int height);
    bool Bold() const noexcept { return bold_; }
    void SetBold(bool bold);
    bool Italic() const noexcept { return italic_; }
    void SetItalic(bool italic);
    bool Underline() const noexcept { return underline_; }
    void SetUnderline(bool underline);
    TColor Color() const noexcept { return color_; }
    void SetColor(TColor color);
    // The DPI the font is made for (96 unless a control of another scale holds it).
    int Dpi() const noexcept { return dpi_; }
    void SetDpi(int dpi);
    // The character height in pixels at the font's DPI.
    int PixelHeight() const noexcept;

    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const noexcept;
    HFONT Handle() { return static_cast<HFONT>(ObjectHandle()); }

protected:
    TToolObject CreateObject() const override;

private:
    std::string name_ = "MS Sans Serif";
    int height_ = 11;
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;
    TColor color_ = clWindowText;
    int dpi_ = kDesignDpi;
};

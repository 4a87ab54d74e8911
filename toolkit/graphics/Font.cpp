#include "toolkit/graphics/Font.h"

#include <cstring>

void TFont::SetName(const std::string& name)
{
    Update(name_, name);
}

void TFont::SetHeight(int height)
{
    Update(height_, height);
}

void TFont::SetBold(bool bold)
{
    Update(bold_, bold);
}

void TFont::SetItalic(bool italic)
{
    Update(italic_, italic);
}

void TFont::SetUnderline(bool underline)
{
    Update(underline_, underline);
}

void TFont::SetColor(TColor color)
{
    Update(color_, color);
}

void TFont::SetDpi(int dpi)
{
    Update(dpi_, dpi);
}

int TFont::PixelHeight() const noexcept
{
    return ScaledToDpi(height_, dpi_);
}

bool TFont::SameAs(const TFont& other) const noexcept
{
    return name_ == other.name_ && height_ == other.height_ && bold_ == other.bold_ &&
           italic_ == other.italic_ && underline_ == other.underline_ && color_ == other.color_ &&
           dpi_ == other.dpi_;
}

void TFont::Assign(const TFont& source)
{
    if (SameAs(source))
        return;
    name_ = source.name_;
    height_ = source.height_;
    bold_ = source.bold_;
    italic_ = source.italic_;
    underline_ = source.underline_;
    color_ = source.color_;
    dpi_ = source.dpi_;
    Changed();
}

TToolObject TFont::CreateObject() const
{
    LOGFONTA lf{};
    lf.lfHeight = -PixelHeight(); // negative: character height, not cell height
    lf.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic_;
    lf.lfUnderline = underline_;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    return TToolObject::Made(CreateFontIndirectA(&lf));
}

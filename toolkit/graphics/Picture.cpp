#include "toolkit/graphics/Picture.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exception.h"
#include "toolkit/core/Format.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/JpegImage.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/core/PathText.h"

#include <algorithm>
#include <cctype>

namespace {
std::string Lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return result;
}

} // namespace

std::unique_ptr<TGraphic> GraphicForExtension(std::string_view extension)
{
    const std::string ext = Lower(extension);
    if (ext == "bmp")
        return std::make_unique<TBitmap>();
    if (ext == "ico")
        return std::make_unique<TIcon>();
    if (ext == "emf" || ext == "wmf")
        return std::make_unique<TMetafile>();
    if (ext == "jpg" || ext == "jpeg")
        return std::make_unique<TJPEGImage>();
    return nullptr;
}

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    if (graphic)
        graphic->OnChange = [this](TObject*) { Changed(); };
    graphic_ = std::move(graphic);
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    if (graphic == graphic_.get())
        return;
    SetGraphic(graphic ? graphic->Clone() : nullptr);
}

template <typename T>
T& TPicture::Ensure()
{
    if (auto* held = dynamic_cast<T*>(graphic_.get()))
        return *held;
    auto fresh = std::make_unique<T>();
    T& result = *fresh;
    SetGraphic(std::move(fresh));
    return result;
}

TBitmap& TPicture::Bitmap()
{
    return Ensure<TBitmap>();
}

TIcon& TPicture::Icon()
{
    return Ensure<TIcon>();
}

void TPicture::LoadFromFile(const std::string& path)
{
    const std::string_view extension = ExtensionOf(path);
    std::unique_ptr<TGraphic> graphic = GraphicForExtension(extension);
    if (!graphic)
        throw EInvalidGraphic(FormatText("Unknown picture file extension (.%s)", extension));
    graphic->LoadFromFile(path);
    SetGraphic(std::move(graphic));
}

void TPicture::Assign(const TPicture& source)
{
    if (&source != this)
        SetGraphic(source.Graphic());
}

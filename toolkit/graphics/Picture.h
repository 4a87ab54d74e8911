#pragma once
// Holds one picture of any kind. Loading a file picks the kind by the file's extension;
// a load that fails raises EInvalidGraphic and keeps the picture held before.
#include "toolkit/graphics/Graphic.h"
#include "toolkit/core/Object.h"

#include <memory>
#include <string>
#include <string_view>

class TBitmap;
class TIcon;

class TPicture : public TObject {
public:
    TPicture();
    ~TPicture() override;

    // The picture, or null when there is none.
    TGraphic* Graphic() const noexcept { return graphic_.get(); }
    // Holds a copy of the graphic (null clears).
    void SetGraphic(const TGraphic* graphic);
    // Holds the graphic itself.
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // The held bitmap; a picture of another kind (or none) is replaced by an empty bitmap.
    TBitmap& Bitmap();
    // The same for icons.
    TIcon& Icon();

    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Extensions, in any letter case: bmp, ico, emf, wmf, jpg, jpeg. Any other raises
    // "Unknown picture file extension (.<ext>)".
    void LoadFromFile(const std::string& path);
    void Assign(const TPicture& source);
    void Clear() { SetGraphic(std::unique_ptr<TGraphic>()); }

    // Fired with the picture as sender when the graphic is replaced or changes.
    TNotifyEvent OnChange;

private:
    template <typename T>
    T& Ensure();
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
};

// An empty graphic of the kind that files with this extension (without the dot, any letter
// case) hold; null for an unknown extension.
std::unique_ptr<TGraphic> GraphicForExtension(std::string_view extension);

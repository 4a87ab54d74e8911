#include "toolkit/graphics/Graphic.h"

#include "toolkit/core/Exception.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/Scoped.h"

#include <string>

namespace {
std::string SystemMessage(DWORD code)
{
    char buffer[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  code, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}
} // namespace

void TGraphic::SetTransparent(bool value)
{
    if (value == transparent_)
        return;
    transparent_ = value;
    Changed();
}

void TGraphic::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& path)
{
    TBytes bytes = ReadPictureFile(path);
    LoadFromStream(bytes);
}

void TGraphic::LoadFromResourceName(HINSTANCE instance, const std::string& name, const char* type)
{
    LoadFromStream(ResourceBytes(instance, name.c_str(), type));
}

TBytes ReadPictureFile(const std::string& path)
{
    ScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    auto fail = [&path](DWORD code) {
        std::string message = FormatText("Cannot open picture file \"%s\"", path);
        std::string reason = SystemMessage(code);
        throw EInvalidGraphic(reason.empty() ? message : message + ". " + reason);
    };
    if (!file)
        fail(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        fail(GetLastError());
    if (size.QuadPart > 0x40000000)
        fail(ERROR_NOT_ENOUGH_MEMORY);
    TBytes bytes(std::size_t(size.QuadPart));
    DWORD done = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &done, nullptr))
        fail(GetLastError());
    if (done != bytes.size())
        fail(ERROR_HANDLE_EOF);
    return bytes;
}

TByteSpan ResourceBytes(HINSTANCE instance, const char* name, const char* type)
{
    HRSRC info = FindResourceA(instance, name, type);
    HGLOBAL loaded = info ? LoadResource(instance, info) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        std::string shown = IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<UINT_PTR>(name)) : name;
        throw EResNotFound(FormatText("Resource %s not found", shown));
    }
    return {static_cast<const std::uint8_t*>(data), SizeofResource(instance, info)};
}

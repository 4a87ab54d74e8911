#include "shelltree/ShellNamespace.h"

#include "toolkit/core/PathText.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace {
bool IsClassIdName(const std::string& name)
{
    return name.rfind("::{", 0) == 0;
}

// Names that open with a direction mark before a digit (dates, numbered names): the marks are
// dropped. In the UTF-8 code page they arrive as themselves; in a legacy page, which has no such
// character, as "?".
void DropDirectionMarks(std::string& text)
{
    static constexpr std::string_view marks[] = {"\xE2\x80\x8E", "\xE2\x80\x8F"}; // U+200E, U+200F
    const auto isDigit = [&](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    if (text.size() > 1 && text[0] == '?' && isDigit(1)) {
        std::erase(text, '?');
        return;
    }
    for (const std::string_view mark : marks) {
        if (text.rfind(mark, 0) == 0 && isDigit(mark.size())) {
            for (const std::string_view any : marks)
                for (std::size_t at = text.find(any); at != std::string::npos; at = text.find(any, at))
                    text.erase(at, any.size());
            return;
        }
    }
}

std::string DisplayName(IShellFolder* folder, LPCITEMIDLIST list, DWORD flags)
{
    STRRET answer{};
    if (FAILED(folder->GetDisplayNameOf(list, flags, &answer)))
        return {};
    return StrRetText(list, answer);
}
} // namespace

void CheckShellStatus(HRESULT status, const char* call)
{
    if (SUCCEEDED(status))
        return;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(status));
    throw EOSError(std::string(call) + " failed with status " + text);
}

ComPtr<IShellFolder> DesktopFolderObject()
{
    ComPtr<IShellFolder> desktop;
    CheckShellStatus(SHGetDesktopFolder(desktop.put()), "SHGetDesktopFolder");
    return desktop;
}

IdList DesktopLocation()
{
    IdList list;
    CheckShellStatus(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, ReceiveIdList(list)),
                     "SHGetSpecialFolderLocation");
    return list;
}

ComPtr<IShellFolder> BindChildFolder(IShellFolder* parent, LPCITEMIDLIST list, HWND window)
{
    ComPtr<IShellFolder> child;
    if (parent && FAILED(parent->BindToObject(list, nullptr, IID_IShellFolder, child.put_void()))) {
        child.reset();
        LPCITEMIDLIST items[] = {list};
        if (FAILED(parent->GetUIObjectOf(window, 1, items, IID_IShellFolder, nullptr, child.put_void())))
            child.reset();
        // The last answer stands; put() gives back the one before it.
        if (FAILED(parent->CreateViewObject(window, IID_IShellFolder, child.put_void())))
            child.reset();
    }
    if (!child && FAILED(DesktopFolderObject()->BindToObject(list, nullptr, IID_IShellFolder, child.put_void())))
        child.reset();
    return child;
}

std::string ShellNameOf(IShellFolder* folder, LPCITEMIDLIST list, DWORD flags)
{
    if (!folder)
        return "parentfolder = nil";
    std::string name = DisplayName(folder, list, flags);
    // A class identifier is no name to show: the plain name is asked once and given as it is.
    if (IsClassIdName(name))
        name = DisplayName(folder, list, SHGDN_NORMAL);
    return name;
}

std::string StrRetText(LPCITEMIDLIST list, STRRET& answer)
{
    std::string text;
    switch (answer.uType) {
    case STRRET_WSTR:
        if (answer.pOleStr) {
            text = WideToAnsi(answer.pOleStr);
            TaskAllocator().Release(std::exchange(answer.pOleStr, nullptr));
        }
        break;
    case STRRET_OFFSET:
        text = TextInItemId(list, answer.uOffset);
        break;
    case STRRET_CSTR:
        text.assign(answer.cStr, strnlen(answer.cStr, sizeof answer.cStr));
        break;
    default:
        break;
    }
    DropDirectionMarks(text);
    return text;
}

bool NextEntry(IEnumIDList& entries, IdList& entry)
{
    ULONG fetched = 0;
    // The owner takes the answer at the end of the statement: it is looked at after it.
    const HRESULT status = entries.Next(1, ReceiveIdList(entry), &fetched);
    if (status == S_OK && entry)
        return true;
    entry.reset();
    return false;
}

int SystemIconIndex(LPCITEMIDLIST list, bool large, bool open)
{
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_PIDL;
    if (open)
        flags |= SHGFI_OPENICON;
    if (!large)
        flags |= SHGFI_SMALLICON;
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, flags))
        return -1;
    return info.iIcon;
}

int ChildIconIndex(IShellFolder& parent, LPCITEMIDLIST child)
{
    const int index = SHMapPIDLToSystemImageListIndex(&parent, child, nullptr);
    return index >= 0 ? index : -1;
}

#include "engine/FolderSettings.h"

#include "engine/SettingsText.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/LongPath.h"
#include "toolkit/core/PathText.h"
#include "toolkit/core/Scoped.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cwctype>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// The attributes a program may set; the others (directory, compressed...) belong to the system.
constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

constexpr const char* kIncomplete = "The file did not read back whole after writing; the disk may be full.";
constexpr const char* kFolderInTheWay = "A folder named DeskTop.Ini is in the way.";

// A step that failed, with the reason the user is told; the public functions turn it into
// their error, naming the file.
struct Refusal {
    std::string reason;
};

[[noreturn]] void Refuse(DWORD code)
{
    throw Refusal{SystemErrorText(code)};
}

[[noreturn]] void RefuseLastError()
{
    Refuse(GetLastError());
}

std::wstring Wide(const char* text)
{
    return AnsiToWide(text);
}

std::wstring_view Trimmed(std::wstring_view text)
{
    while (!text.empty() && std::iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back()))
        text.remove_suffix(1);
    return text;
}

// ---- What a file holds, as the private-profile functions see it.

struct Section {
    std::wstring Name;
    std::vector<std::wstring> Entries;  // "key=value" lines as the functions report them
    bool operator==(const Section&) const = default;
};
using Sections = std::vector<Section>;

// A list of strings, each ended by a NUL, that `read` fills into a buffer; the buffer grows
// until the list fits (the functions answer size - 2 when it does not).
template <typename Read>
std::vector<std::wstring> StringList(Read read)
{
    for (DWORD size = 4096;; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const DWORD length = read(buffer.data(), size);
        if (length + 2 >= size && size < (1u << 24))
            continue;
        std::vector<std::wstring> strings;
        for (DWORD start = 0; start < length;) {
            const std::wstring text(buffer.data() + start);
            start += static_cast<DWORD>(text.size()) + 1;
            strings.push_back(text);
        }
        return strings;
    }
}

Sections SnapshotOf(const std::wstring& file)
{
    Sections sections;
    const auto names = StringList(
        [&](wchar_t* buffer, DWORD size) { return GetPrivateProfileSectionNamesW(buffer, size, file.c_str()); });
    for (const auto& name : names)
        sections.push_back({name, StringList([&](wchar_t* buffer, DWORD size) {
                                return GetPrivateProfileSectionW(name.c_str(), buffer, size, file.c_str());
                            })});
    return sections;
}

bool IsOurSection(std::wstring_view name)
{
    return SameName(name, ShellClassInfoSection) || SameName(name, IconAreaSection);
}

std::wstring_view KeyOf(std::wstring_view entry)
{
    return Trimmed(entry.substr(0, entry.find(L'=')));
}

bool IsOurKey(std::wstring_view section, std::wstring_view entry)
{
    const std::wstring_view key = KeyOf(entry);
    return std::any_of(std::begin(OurKeys), std::end(OurKeys),
                       [&](const TSettingsKey& k) { return SameName(section, k.Section) && SameName(key, k.Key); });
}

bool HoldsOurKeys(const Sections& sections)
{
    return std::any_of(sections.begin(), sections.end(), [](const Section& s) {
        return std::any_of(s.Entries.begin(), s.Entries.end(), [&](const auto& e) { return IsOurKey(s.Name, e); });
    });
}

// What is left once our keys are out, and with them a section of ours they leave empty.
Sections WithoutOurs(Sections sections)
{
    for (auto& section : sections)
        std::erase_if(section.Entries, [&](const std::wstring& e) { return IsOurKey(section.Name, e); });
    std::erase_if(sections, [](const Section& s) { return IsOurSection(s.Name) && s.Entries.empty(); });
    return sections;
}

// Whether a key reads back as written: the functions trim blanks and one pair of quotes.
bool ReadsBack(const std::wstring& file, const TSettingsKey& key, const std::wstring& written)
{
    std::vector<wchar_t> buffer(written.size() + 64);
    const DWORD length = GetPrivateProfileStringW(Wide(key.Section).c_str(), Wide(key.Key).c_str(), L"\x1",
                                                  buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    const std::wstring_view read(buffer.data(), length);
    const std::wstring_view want = Trimmed(written);
    if (read == want)
        return true;
    const bool quoted = want.size() >= 2 && (want.front() == L'"' || want.front() == L'\'') && want.back() == want.front();
    return quoted && read == want.substr(1, want.size() - 2);
}

// ---- Encodings.

// The system's legacy code page, which Explorer reads a file without a byte-order mark in; it
// does not change while the program runs.
UINT LegacyCodePage()
{
    static const UINT page = [] {
        DWORD number = 0;
        if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                           reinterpret_cast<LPWSTR>(&number), sizeof number / sizeof(wchar_t)) &&
            number != 0 && number != CP_UTF8 && IsValidCodePage(number))
            return static_cast<UINT>(number);
        // A locale without a legacy page of its own: Western, as the system's own default.
        return 1252u;
    }();
    return page;
}

std::wstring Decoded(std::string_view bytes, UINT page)
{
    if (bytes.empty())
        return {};
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(page, 0, bytes.data(), length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    MultiByteToWideChar(page, 0, bytes.data(), length, text.data(), size);
    return text;
}

std::wstring TextOfFile(std::string_view bytes, TFileText kind)
{
    switch (kind) {
    case TFileText::Utf16Le:
    case TFileText::Utf16Be: {
        std::wstring text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
            text.push_back(static_cast<wchar_t>(kind == TFileText::Utf16Le ? first | second << 8 : first << 8 | second));
        }
        return text;
    }
    case TFileText::Utf8Bom:
        return Decoded(bytes.substr(3), CP_UTF8);
    case TFileText::Ascii:
    case TFileText::Legacy:
        break;
    }
    return Decoded(bytes, LegacyCodePage());
}

// What Windows writes: UTF-16, little end first, after a byte-order mark.
std::string Utf16File(std::wstring_view text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

// The text in the encoding a file had before; none when that encoding cannot carry all of it.
std::optional<std::string> EncodedAs(std::wstring_view text, TFileText kind)
{
    if (kind == TFileText::Utf16Le)
        return Utf16File(text);
    const bool utf8 = kind == TFileText::Utf8Bom;
    const UINT page = utf8 ? CP_UTF8 : LegacyCodePage();
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* lossyFlag = utf8 ? nullptr : &lossy;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(page, flags, text.data(), length, nullptr, 0, nullptr, lossyFlag);
    if (size <= 0 && length > 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(page, flags, text.data(), length, bytes.data(), size, nullptr, lossyFlag);
    if (lossy)
        return std::nullopt;
    return utf8 ? "\xEF\xBB\xBF" + bytes : bytes;
}

// ---- Files, at any depth.

// The whole file; false (the last error set) when it cannot be read.
bool ReadBytes(const std::string& path, std::string& bytes)
{
    const ScopedFile file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.get(), &size))
        return false;
    if (size.QuadPart > 64 * 1024 * 1024) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return false;
    bytes.resize(read);
    return true;
}

std::string TempFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    return WithBackslash(WideToAnsi({buffer, length}));
}

std::string TempName()
{
    static std::atomic<unsigned> counter{0};
    char name[64];
    std::snprintf(name, sizeof name, "~DeskTop.Ini.%lx.%x.tmp", GetCurrentProcessId(), counter++);
    return name;
}

// A temporary file of ours, removed when its owner goes unless it was put in place.
class TempFile {
public:
    TempFile() = default;
    explicit TempFile(std::string path) noexcept : path_(std::move(path)) {}
    ~TempFile() { Remove(); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    TempFile(TempFile&& other) noexcept : path_(std::exchange(other.path_, {})) {}
    TempFile& operator=(TempFile&& other) noexcept
    {
        if (this != &other) {
            Remove();
            path_ = std::exchange(other.path_, {});
        }
        return *this;
    }

    const std::string& Path() const noexcept { return path_; }
    std::wstring Wide() const { return WidePath(path_); }
    // Renamed by its owner: the file is now at `path`.
    void MovedTo(std::string path) noexcept { path_ = std::move(path); }
    // Put in place, or never made: nothing is left to remove.
    void Release() noexcept { path_.clear(); }

private:
    void Remove() noexcept
    {
        if (path_.empty())
            return;
        try {
            const std::wstring path = WidePath(path_);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        } catch (...) {
            // Out of memory for the name: the stray file is the lesser harm.
        }
        path_.clear();
    }

    std::string path_;
};

void WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        RefuseLastError();
    if (written != bytes.size())
        Refuse(ERROR_DISK_FULL);
}

// A new hidden, system file in `folder` that holds `bytes`.
TempFile CreateTemp(const std::string& folder, const std::string& bytes)
{
    for (int attempt = 0;; ++attempt) {
        // Made before the handle, so that the handle is closed before the file is removed.
        TempFile temp(folder + TempName());
        const ScopedFile file(
            CreateFileW(temp.Wide().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, kHiddenSystem, nullptr));
        if (!file) {
            const DWORD error = GetLastError();
            temp.Release();
            if ((error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) && attempt < 100)
                continue;
            Refuse(error);
        }
        WriteAll(file.get(), bytes);
        // A new file gets the archive bit too; a settings file carries hidden and system only.
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = kHiddenSystem;
        SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic);
        return temp;
    }
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\') + 1);
}

// The file under a new name beside it: read under a name never read before, the profile
// functions take it from the disk, not from what they remember of the old name.
void Rename(TempFile& temp)
{
    std::string fresh = FolderOf(temp.Path()) + TempName();
    if (!MoveFileExW(temp.Wide().c_str(), WidePath(fresh).c_str(), 0))
        RefuseLastError();
    temp.MovedTo(std::move(fresh));
}

// The profile functions take a name no longer than the platform's old limit, whatever prefix
// it has: a deeper file is worked on as a copy in the temporary folder.
bool ProfileReaches(const std::string& path)
{
    return !WidePath(path).starts_with(L"\\\\?\\");
}

// A temporary file with the bytes for the profile functions to work on: beside the settings
// file when they reach it there, else in the temporary folder.
TempFile CreateWork(const std::string& folder, const std::string& bytes)
{
    return CreateTemp(ProfileReaches(folder + "~DeskTop.Ini.ffffffff.ffffffff.tmp") ? folder : TempFolder(), bytes);
}

// The finished work beside the settings file, where it can take the file's place in one step:
// a copy from the temporary folder is made there and read back.
void MoveBeside(TempFile& temp, const std::string& folder)
{
    if (FolderOf(temp.Path()) == folder)
        return;
    std::string bytes, copied;
    if (!ReadBytes(temp.Path(), bytes))
        RefuseLastError();
    TempFile copy = CreateTemp(folder, bytes);
    if (!ReadBytes(copy.Path(), copied))
        RefuseLastError();
    if (copied != bytes)
        throw Refusal{kIncomplete};
    temp = std::move(copy);
}

void Flush(const TempFile& temp)
{
    const ScopedFile file(CreateFileW(temp.Wide().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file || !FlushFileBuffers(file.get()))
        RefuseLastError();
}

// The folder's settings file as it is: its name in the letter case it has, its attributes and
// its bytes.
struct Existing {
    std::string Target;
    bool Exists = false;
    DWORD Attributes = 0;
    std::string Bytes;
};

Existing Examine(const std::string& folder)
{
    Existing existing;
    existing.Target = folder + SettingsFileName;
    WIN32_FIND_DATAW data;
    const ScopedFind find(FindFirstFileW(WidePath(existing.Target).c_str(), &data));
    if (!find) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return existing;
        Refuse(error);
    }
    existing.Target = folder + WideToAnsi(data.cFileName);
    existing.Exists = true;
    existing.Attributes = data.dwFileAttributes;
    if (!(existing.Attributes & FILE_ATTRIBUTE_DIRECTORY) && !ReadBytes(existing.Target, existing.Bytes))
        RefuseLastError();
    return existing;
}

// Runs `step` on the settings file with its read-only attribute lifted for the step (the
// platform replaces or deletes no read-only file), and puts it back when the step fails.
template <typename Step>
void WithoutReadOnly(const Existing& existing, Step step)
{
    const std::wstring target = WidePath(existing.Target);
    const DWORD kept = existing.Attributes & kSettable;
    const bool readOnly = existing.Exists && (kept & FILE_ATTRIBUTE_READONLY);
    if (readOnly && !SetFileAttributesW(target.c_str(), kept & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)))
        RefuseLastError();
    if (!step(target)) {
        const DWORD error = GetLastError();
        if (readOnly)
            SetFileAttributesW(target.c_str(), kept);
        Refuse(error);
    }
}

// The copy takes the file's place in one step.
void PutInPlace(TempFile& temp, const Existing& existing)
{
    WithoutReadOnly(existing, [&](const std::wstring& target) {
        return MoveFileExW(temp.Wide().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    });
    temp.Release();
}

// Sets the attributes the file is to have, makes sure it is on the disk, and puts it in place.
void Finish(TempFile& temp, const Existing& existing, DWORD attributes)
{
    MoveBeside(temp, FolderOf(existing.Target));
    if (!SetFileAttributesW(temp.Wide().c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL))
        RefuseLastError();
    Flush(temp);
    PutInPlace(temp, existing);
}

// ---- Our keys.

using Values = std::array<std::wstring, OurKeyCount>;

Values ValuesOf(const TDTItem& item)
{
    const std::string* fields[] = {&item.CLSID,   &item.IconFile,       &item.IconIndex,
                                   &item.Infotip, &item.IconArea_Image, &item.IconArea_Text};
    Values values;
    for (std::size_t i = 0; i < OurKeyCount; ++i)
        values[i] = AnsiToWide(FlattenLineBreaks(*fields[i]));
    return values;
}

bool AllAscii(const Values& values)
{
    return std::all_of(values.begin(), values.end(), [](const std::wstring& value) {
        return std::all_of(value.begin(), value.end(), [](wchar_t c) { return c < 0x80; });
    });
}

// Writes the six keys into the copy, one call each, then reads the copy back under a new name:
// everything that was there before is there still and each key holds its value.
void WriteKeysChecked(TempFile& temp, const Values& values)
{
    const std::wstring file = temp.Wide();
    const Sections before = SnapshotOf(file);
    for (std::size_t i = 0; i < OurKeyCount; ++i)
        if (!WritePrivateProfileStringW(Wide(OurKeys[i].Section).c_str(), Wide(OurKeys[i].Key).c_str(),
                                        values[i].c_str(), file.c_str()))
            RefuseLastError();
    Rename(temp);
    const std::wstring check = temp.Wide();
    if (WithoutOurs(SnapshotOf(check)) != WithoutOurs(before))
        throw Refusal{kIncomplete};
    for (std::size_t i = 0; i < OurKeyCount; ++i)
        if (!ReadsBack(check, OurKeys[i], values[i]))
            throw Refusal{kIncomplete};
}

// Takes our keys out of the copy and a section of ours they leave empty, then reads the copy
// back under a new name: it must hold exactly what was there but ours.
void RemoveKeysChecked(TempFile& temp, const Sections& before)
{
    const std::wstring file = temp.Wide();
    for (const Section& section : before) {
        if (!IsOurSection(section.Name))
            continue;
        std::size_t left = 0;
        for (const std::wstring& entry : section.Entries) {
            if (!IsOurKey(section.Name, entry)) {
                ++left;
                continue;
            }
            if (!WritePrivateProfileStringW(section.Name.c_str(), std::wstring(KeyOf(entry)).c_str(), nullptr,
                                            file.c_str()))
                RefuseLastError();
        }
        if (left == 0 && !WritePrivateProfileStringW(section.Name.c_str(), nullptr, nullptr, file.c_str()))
            RefuseLastError();
    }
    Rename(temp);
    if (SnapshotOf(temp.Wide()) != WithoutOurs(before))
        throw Refusal{kIncomplete};
}

// Where the profile functions would misread a file (a legacy one, taken for UTF-8 by them),
// they are given it in UTF-16, which they read right.
bool NeedsConversion(TFileText kind)
{
    return kind == TFileText::Legacy || kind == TFileText::Utf8Bom;
}

// A file the profile functions would misread, or cannot reach, is read from a UTF-16 copy in
// the temporary folder: reading writes nothing into the user's folder. Empty when the file
// itself is to be read.
TempFile ReadableCopy(const std::string& file, const std::string& bytes)
{
    const TFileText kind = TextOf(bytes);
    if (!NeedsConversion(kind) && ProfileReaches(file))
        return {};
    return CreateTemp(TempFolder(), NeedsConversion(kind) ? Utf16File(TextOfFile(bytes, kind)) : bytes);
}

std::string ReadKey(const std::wstring& file, const char* section, const char* key, const char* fallback)
{
    wchar_t buffer[2048];
    const DWORD length = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(fallback).c_str(),
                                                  buffer, static_cast<DWORD>(std::size(buffer)), file.c_str());
    return WideToAnsi({buffer, length});
}

} // namespace

ESettingsFileError::ESettingsFileError(const std::string& file, std::string reason)
    : EWriteError(FormatText("Unable to write to %s", file)), reason_(std::move(reason))
{
}

std::string FlattenLineBreaks(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r') {
            if (i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
            out.push_back(' ');
        } else if (c == '\n') {
            out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

TDTItem ReadFolderSettings(const std::string& path)
{
    const std::string file = path + SettingsFileName;
    std::wstring source = WidePath(file);
    TempFile copy;
    std::string bytes;
    if (ReadBytes(file, bytes)) {
        try {
            copy = ReadableCopy(file, bytes);
            if (!copy.Path().empty())
                source = copy.Wide();
        } catch (const Refusal&) {
            // No room for the copy: read as the platform reads it.
        }
    }
    TDTItem item;
    item.Path = path;
    item.CLSID = ReadKey(source, ShellClassInfoSection, "CLSID", "");
    item.IconFile = ReadKey(source, ShellClassInfoSection, "IconFile", "");
    item.IconIndex = ReadKey(source, ShellClassInfoSection, "IconIndex", "0");
    // No icon of its own: the folder shows the shell's folder icon, whatever index was stored.
    if (item.IconFile.empty()) {
        item.IconFile = DefaultIconFile;
        item.IconIndex = DefaultIconIndex;
    }
    if (item.IconIndex.empty())
        item.IconIndex = "0";
    item.Infotip = ReadKey(source, ShellClassInfoSection, "Infotip", "");
    item.IconArea_Image = ReadKey(source, IconAreaSection, "IconArea_Image", "");
    item.IconArea_Text = ReadKey(source, IconAreaSection, "IconArea_Text", "");
    if (item.IconArea_Text.empty())
        item.IconArea_Text = BlackCaptionColour;
    return item;
}

void WriteFolderSettings(const TDTItem& item)
{
    const std::string file = item.Path + SettingsFileName;
    try {
        const Existing existing = Examine(item.Path);
        if (existing.Attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw Refusal{kFolderInTheWay};
        // The profile functions refuse a read-only file on every system; so does this.
        if (existing.Attributes & FILE_ATTRIBUTE_READONLY)
            Refuse(ERROR_ACCESS_DENIED);
        const Values values = ValuesOf(item);
        const TFileText kind = TextOf(existing.Bytes);
        // Text outside ASCII goes into a UTF-16 file, which Explorer reads right on every
        // system; a legacy file is converted whole, with its foreign text.
        std::string start = existing.Bytes;
        if (NeedsConversion(kind) || (kind == TFileText::Ascii && !AllAscii(values)))
            start = Utf16File(TextOfFile(existing.Bytes, kind));
        TempFile temp = CreateWork(item.Path, start);
        WriteKeysChecked(temp, values);
        Finish(temp, existing, kHiddenSystem);
    } catch (const Refusal& refusal) {
        throw ESettingsFileError(file, refusal.reason);
    }
    AddSystemAttribute(item.Path);
}

void RemoveFolderSettings(const std::string& path)
{
    const std::string file = path + SettingsFileName;
    try {
        const Existing existing = Examine(path);
        if (!existing.Exists || (existing.Attributes & FILE_ATTRIBUTE_DIRECTORY))
            return;
        const TFileText kind = TextOf(existing.Bytes);
        const std::wstring text = TextOfFile(existing.Bytes, kind);
        const auto remove = [](const std::wstring& target) { return DeleteFileW(target.c_str()); };
        // Nothing but ours, as in every folder this program gave a file: the file goes,
        // read-only or not. Any other file is read by the profile functions.
        if (HoldsOnlyOurKeys(text)) {
            WithoutReadOnly(existing, remove);
            return;
        }
        const bool convert = NeedsConversion(kind);
        const std::string start = convert ? Utf16File(text) : existing.Bytes;
        const TempFile copy = ReadableCopy(existing.Target, existing.Bytes);
        const Sections before = SnapshotOf(copy.Path().empty() ? WidePath(existing.Target) : copy.Wide());
        if (!HoldsOurKeys(before))
            return;
        if (WithoutOurs(before).empty()) {
            WithoutReadOnly(existing, remove);
            return;
        }

        TempFile temp = CreateWork(path, start);
        RemoveKeysChecked(temp, before);
        if (convert) {
            // Back in the encoding the file had, when it can carry everything left.
            std::string bytes;
            if (!ReadBytes(temp.Path(), bytes))
                RefuseLastError();
            if (const auto back = EncodedAs(TextOfFile(bytes, TextOf(bytes)), kind))
                temp = CreateTemp(FolderOf(temp.Path()), *back);
        }
        // What is left keeps the file's attributes, read-only, hidden and system alike.
        Finish(temp, existing, existing.Attributes & kSettable);
    } catch (const Refusal& refusal) {
        throw ESettingsFileError(file, refusal.reason);
    }
}

std::string FreshSettingsBytes(const TDTItem& item)
{
    const std::string folder = TempFolder();
    try {
        const Values values = ValuesOf(item);
        TempFile temp = CreateTemp(folder, AllAscii(values) ? std::string() : Utf16File({}));
        WriteKeysChecked(temp, values);
        std::string bytes;
        if (!ReadBytes(temp.Path(), bytes))
            RefuseLastError();
        return bytes;
    } catch (const Refusal& refusal) {
        throw ESettingsFileError(folder + SettingsFileName, refusal.reason);
    }
}

void CopySettingsInto(const std::string& folder, const std::string& bytes)
{
    const std::string file = folder + SettingsFileName;
    try {
        const std::wstring target = WidePath(file);
        DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (GetLastError() != ERROR_FILE_NOT_FOUND)
                RefuseLastError();
            TempFile copy = CreateTemp(folder, bytes);
            // No replacing: a file that came meanwhile is the folder's own and stays.
            if (MoveFileExW(copy.Wide().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
                copy.Release();
            else if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
                RefuseLastError();
            attributes = copy.Path().empty() ? kHiddenSystem : GetFileAttributesW(target.c_str());
        }
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw Refusal{kFolderInTheWay};
        // A file of the folder's own is kept as it is, and made hidden and system as ours are.
        if (attributes != kHiddenSystem && !SetFileAttributesW(target.c_str(), kHiddenSystem))
            RefuseLastError();
        if (const DWORD error = AddSystemAttribute(folder))
            Refuse(error);
    } catch (const Refusal& refusal) {
        throw ESettingsFileError(file, refusal.reason);
    }
}

unsigned long AddSystemAttribute(const std::string& folder)
{
    // The shell reads a folder's settings file only when the folder carries the system
    // attribute. It is added to what the folder has: a hidden folder stays hidden, a read-only
    // one read-only, and a restore (which leaves attributes alone) has nothing to give back.
    const std::wstring path = WidePath(folder);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError();
    if (!(attributes & FILE_ATTRIBUTE_SYSTEM) &&
        !SetFileAttributesW(path.c_str(), (attributes & kSettable) | FILE_ATTRIBUTE_SYSTEM))
        return GetLastError();
    return ERROR_SUCCESS;
}

void NotifyShell()
{
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

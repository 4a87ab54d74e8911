// Quorrel.exe as built: its version resource and its application manifest, read back the way
// the system reads them (version functions, the loader's activation context).
#include "dist/DistTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// "{E2011457-...}": the registry form of a GUID, upper case.
std::string GuidText(const GUID& id)
{
    wchar_t text[40] = {};
    StringFromGUID2(id, text, 40);
    std::string narrow;
    for (const wchar_t* c = text; *c; ++c)
        narrow += static_cast<char>(*c);
    return narrow;
}

// The activation context Windows makes from the program's manifest at start.
class ProgramActivationContext {
public:
    explicit ProgramActivationContext(const std::string& exe)
    {
        ACTCTXA context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = exe.c_str();
        context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
        handle_ = CreateActCtxA(&context);
        error_ = handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    }
    ~ProgramActivationContext()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            ReleaseActCtx(handle_);
    }
    ProgramActivationContext(const ProgramActivationContext&) = delete;
    ProgramActivationContext& operator=(const ProgramActivationContext&) = delete;

    HANDLE get() const { return handle_; }
    DWORD error() const { return error_; }

    // One piece of the context's information; empty when the context has none.
    template <typename Info>
    std::vector<BYTE> Query(ULONG infoClass, DWORD* subInstance = nullptr) const
    {
        SIZE_T size = 0;
        QueryActCtxW(0, handle_, subInstance, infoClass, nullptr, 0, &size);
        std::vector<BYTE> buffer(std::max<SIZE_T>(size, sizeof(Info)));
        if (!QueryActCtxW(0, handle_, subInstance, infoClass, buffer.data(), buffer.size(), &size))
            buffer.clear();
        return buffer;
    }

    // The identities of the assemblies the context resolved: the program's own and those it
    // depends on, each as the loader found it installed.
    std::vector<std::wstring> Assemblies() const
    {
        const auto detail = Query<ACTIVATION_CONTEXT_DETAILED_INFORMATION>(ActivationContextDetailedInformation);
        if (detail.empty())
            return {};
        const DWORD count = reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(detail.data())->ulAssemblyCount;
        std::vector<std::wstring> identities;
        for (DWORD index = 1; index <= count; ++index) {
            const auto assembly = Query<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION>(
                AssemblyDetailedInformationInActivationContext, &index);
            const auto* info = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(assembly.data());
            if (!assembly.empty() && info->lpAssemblyEncodedAssemblyIdentity)
                identities.emplace_back(info->lpAssemblyEncodedAssemblyIdentity);
        }
        return identities;
    }

    // The operating systems of the compatibility list, in the manifest's order. Windows 10 1903
    // and later (and Wine) add a 64-bit "highest version tested" to every entry, which also
    // aligns the entries to 8 bytes; earlier systems give GUID and type alone.
    std::vector<std::string> SupportedSystems() const
    {
        struct LaterEntry {
            GUID Id;
            ACTCTX_COMPATIBILITY_ELEMENT_TYPE Type;
            ULONGLONG MaxVersionTested;
        };
        const auto list =
            Query<ACTIVATION_CONTEXT_COMPATIBILITY_INFORMATION>(CompatibilityInformationInActivationContext);
        if (list.empty())
            return {};
        const DWORD count = reinterpret_cast<const ACTIVATION_CONTEXT_COMPATIBILITY_INFORMATION*>(list.data())->ElementCount;
        std::size_t offset = sizeof(DWORD), stride = sizeof(COMPATIBILITY_CONTEXT_ELEMENT);
        if (list.size() == alignof(LaterEntry) + count * sizeof(LaterEntry)) {
            offset = alignof(LaterEntry);
            stride = sizeof(LaterEntry);
        } else if (list.size() < offset + count * stride) {
            return {"(a list of " + std::to_string(count) + " entries in " + std::to_string(list.size()) + " bytes)"};
        }
        std::vector<std::string> systems;
        for (DWORD i = 0; i < count; ++i) {
            const auto* entry = reinterpret_cast<const COMPATIBILITY_CONTEXT_ELEMENT*>(list.data() + offset + i * stride);
            if (entry->Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
                systems.push_back(GuidText(entry->Id));
        }
        return systems;
    }

    std::wstring Setting(const wchar_t* settingsNamespace, const wchar_t* name) const
    {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, handle_, settingsNamespace, name, value, 64, &written))
            return L"(none: error " + std::to_wstring(GetLastError()) + L")";
        return value;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    DWORD error_ = 0;
};

// Every resource id of a type (names would read as large numbers); stops when out of memory.
BOOL CALLBACK CollectResourceId(HMODULE, LPCSTR, LPSTR name, LONG_PTR list) noexcept
{
    try {
        reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(reinterpret_cast<ULONG_PTR>(name));
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

} // namespace

TEST(ProgramVersion, NamesTheProductAndGivesOneVersionInNumbersAndText)
{
    const VersionResource version(BuiltProgramPath());
    ASSERT_TRUE(version.Present()) << BuiltProgramPath() << " has no version resource";

    // U.S. English in Windows' Western code page: Explorer's Details tab shows the strings.
    EXPECT_EQ(version.Translation(), "040904e4");
    EXPECT_EQ(version.String("ProductName"), "Quorrel");
    EXPECT_EQ(version.String("OriginalFilename"), "Quorrel.exe");
    EXPECT_EQ(version.String("InternalName"), "Quorrel");
    EXPECT_NE(version.String("FileDescription").find("Quorrel"), std::string::npos);
    EXPECT_NE(version.String("CompanyName"), "");
    // The copyright sign survives the trip through the resource compiler's code page (and
    // reaches the program in its own, UTF-8).
    EXPECT_EQ(version.String("LegalCopyright").rfind("Copyright \xC2\xA9 ", 0), 0u) << version.String("LegalCopyright");

    const VS_FIXEDFILEINFO fixed = version.Fixed();
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed.dwFileFlags & fixed.dwFileFlagsMask & (VS_FF_DEBUG | VS_FF_PRERELEASE), 0u);
    EXPECT_EQ(fixed.dwFileVersionMS, fixed.dwProductVersionMS);
    EXPECT_EQ(fixed.dwFileVersionLS, fixed.dwProductVersionLS);
    EXPECT_EQ(LOWORD(fixed.dwFileVersionLS), 0u) << "the fourth number is the build, always 0";
    const std::string numbers = std::to_string(HIWORD(fixed.dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed.dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed.dwFileVersionLS));
    EXPECT_EQ(version.String("FileVersion"), numbers);
    EXPECT_EQ(version.String("ProductVersion"), numbers);
}

TEST(ProgramManifest, IsTheOneManifestOfTheProgramAndTheLoaderAcceptsIt)
{
    const ScopedLibrary image(LoadLibraryExA(BuiltProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(image) << BuiltProgramPath() << ": " << SystemReason(GetLastError());
    std::vector<ULONG_PTR> ids;
    EnumResourceNamesA(image.get(), RT_MANIFEST, &CollectResourceId, reinterpret_cast<LONG_PTR>(&ids));
    // Id 1 is the manifest the loader reads when the program starts; a second one (a default
    // manifest of the tool chain) would be a sign that ours is not the one in force.
    EXPECT_EQ(ids, std::vector<ULONG_PTR>{1}) << "manifests other than the one with id 1";

    // A manifest the loader cannot parse stops the program before its first line runs.
    const ProgramActivationContext context(BuiltProgramPath());
    ASSERT_NE(context.get(), INVALID_HANDLE_VALUE) << "the manifest is refused: error " << context.error();

    // Visual styles: the context takes the common controls of version 6 that the system has.
    const auto assemblies = context.Assemblies();
    EXPECT_TRUE(std::any_of(assemblies.begin(), assemblies.end(), [](const std::wstring& identity) {
        return identity.find(L"Microsoft.Windows.Common-Controls") != std::wstring::npos &&
               identity.find(L"version=\"6.") != std::wstring::npos;
    })) << assemblies.size() << " assemblies, none the common controls 6";
}

TEST(ProgramManifest, RunsAsInvokerScalesPerMonitorAndListsVistaTo11)
{
    const ProgramActivationContext context(BuiltProgramPath());
    ASSERT_NE(context.get(), INVALID_HANDLE_VALUE) << "the manifest is refused: error " << context.error();

    // As invoker: no prompt, no virtualisation of refused writes.
    const auto level = context.Query<ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION>(RunlevelInformationInActivationContext);
    ASSERT_FALSE(level.empty()) << "no run level information: error " << GetLastError();
    const auto& runLevel = *reinterpret_cast<const ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION*>(level.data());
    EXPECT_EQ(runLevel.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_EQ(runLevel.UiAccess, 0u);

    // Per-monitor v2 first, per monitor after it; systems before 10 1607 read dpiAware.
    EXPECT_EQ(context.Setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true/pm");
    EXPECT_EQ(context.Setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"PerMonitorV2, PerMonitor");

    const auto systems = context.SupportedSystems();
    EXPECT_EQ(systems, (std::vector<std::string>{
                           "{E2011457-1546-43C5-A5FE-008DEEE3D3F0}", // Vista
                           "{35138B9A-5D96-4FBD-8E2D-A2440225F93A}", // 7
                           "{4A2F28E3-53B9-4441-BA9C-D69D4A4A6E38}", // 8
                           "{1F676C76-80E1-4239-95BB-83D0F6D0DA78}", // 8.1
                           "{8E0F7A12-BFB3-4FE8-B9A5-48FD50A15A9A}", // 10 and 11
                       }));
}

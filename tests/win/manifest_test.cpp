// The application manifest of both programs, read from outside through the activation-context
// functions, as the system reads it before the program starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

// Newer than the targets the project builds for: looked up at run time.
using QueryActCtxSettingsProc = BOOL(WINAPI*)(DWORD, HANDLE, PCWSTR, PCWSTR, PWSTR, SIZE_T, SIZE_T*);

std::string Folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

// The 64-bit program beside this test and the 32-bit one from the other build.
std::vector<std::string> Programs() {
    return {Folder() + "Peerix.exe", Folder() + "..\\..\\win32\\bin\\Peerix.exe"};
}

class ActCtx {
public:
    explicit ActCtx(const std::string& exe) {
        ACTCTXA context = {};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = exe.c_str();
        context.lpResourceName = MAKEINTRESOURCEA(1);
        handle = CreateActCtxA(&context);
    }
    ~ActCtx() {
        if (handle != INVALID_HANDLE_VALUE) ReleaseActCtx(handle);
    }
    ActCtx(const ActCtx&) = delete;
    ActCtx& operator=(const ActCtx&) = delete;
    bool Valid() const { return handle != INVALID_HANDLE_VALUE; }

    std::wstring Setting(const wchar_t* space, const wchar_t* name) const {
        static const auto query = reinterpret_cast<QueryActCtxSettingsProc>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
        wchar_t buffer[256] = {};
        SIZE_T written = 0;
        if (!query || !query(0, handle, space, name, buffer, 255, &written)) return L"(none)";
        return buffer;
    }

    // Raw QueryActCtxW output for one class (and sub-instance for per-assembly classes).
    std::vector<BYTE> Query(ULONG infoClass, DWORD index = 0) const {
        SIZE_T needed = 0;
        QueryActCtxW(0, handle, index ? &index : nullptr, infoClass, nullptr, 0, &needed);
        std::vector<BYTE> data(needed ? needed : 1);
        if (!QueryActCtxW(0, handle, index ? &index : nullptr, infoClass, data.data(), data.size(), &needed))
            data.clear();
        return data;
    }

    // The identities of the assemblies the manifest depends on.
    std::vector<std::wstring> Assemblies() const {
        std::vector<std::wstring> ids;
        const std::vector<BYTE> d = Query(ActivationContextDetailedInformation);
        if (d.empty()) return ids;
        const auto* details = reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(d.data());
        for (DWORD i = 1; i <= details->ulAssemblyCount; ++i) {
            const std::vector<BYTE> a = Query(AssemblyDetailedInformationInActivationContext, i);
            if (a.empty()) continue;
            const auto* info = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(a.data());
            if (info->lpAssemblyEncodedAssemblyIdentity) ids.push_back(info->lpAssemblyEncodedAssemblyIdentity);
        }
        return ids;
    }

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
};

// The compatibility list as systems since Windows 10 give it (and Wine): each element also says
// which version was tested most, which the older headers leave out.
struct CompatibilityElement {
    GUID Id;
    ACTCTX_COMPATIBILITY_ELEMENT_TYPE Type;
    ULONGLONG MaxVersionTested;
};
struct CompatibilityList {
    DWORD ElementCount;
    CompatibilityElement Elements[1];
};

constexpr const wchar_t* k2005 = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
constexpr const wchar_t* k2016 = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
constexpr const wchar_t* k2019 = L"http://schemas.microsoft.com/SMI/2019/WindowsSettings";

bool Contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

}  // namespace

TEST(Manifest, BothProgramsAskForControls6AsInvokerPerMonitorDpiAndUtf8OnEveryWindows) {
    for (const std::string& exe : Programs()) {
        SCOPED_TRACE(exe);
        ASSERT_NE(GetFileAttributesA(exe.c_str()), INVALID_FILE_ATTRIBUTES) << "build both presets first";
        ActCtx context(exe);
        ASSERT_TRUE(context.Valid()) << "no manifest as resource 1, error " << GetLastError();

        EXPECT_EQ(context.Setting(k2005, L"dpiAware"), L"true/pm");
        EXPECT_EQ(context.Setting(k2016, L"dpiAwareness"), L"PerMonitorV2, PerMonitor");
        EXPECT_EQ(context.Setting(k2019, L"activeCodePage"), L"UTF-8");

        // The system resolves 6.0.0.0 to the version it has of the 6 series.
        bool controls6 = false;
        for (const std::wstring& id : context.Assemblies())
            if (Contains(id, L"Microsoft.Windows.Common-Controls") && Contains(id, L"version=\"6."))
                controls6 = true;
        EXPECT_TRUE(controls6) << "no dependency on common controls 6";

        const std::vector<BYTE> level = context.Query(RunlevelInformationInActivationContext);
        ASSERT_GE(level.size(), sizeof(ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION));
        const auto* run = reinterpret_cast<const ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION*>(level.data());
        EXPECT_EQ(run->RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
        EXPECT_EQ(run->UiAccess, 0u);

        // Vista, 7, 8, 8.1 and 10/11, each once.
        const GUID wanted[] = {
            {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},
            {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
            {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
            {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
            {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},
        };
        const std::vector<BYTE> compat = context.Query(CompatibilityInformationInActivationContext);
        ASSERT_GE(compat.size(), sizeof(DWORD));
        const auto* list = reinterpret_cast<const CompatibilityList*>(compat.data());
        ASSERT_GE(compat.size(), offsetof(CompatibilityList, Elements) + list->ElementCount * sizeof(CompatibilityElement));
        int osCount = 0;
        for (DWORD i = 0; i < list->ElementCount; ++i)
            if (list->Elements[i].Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS) ++osCount;
        EXPECT_EQ(osCount, 5);
        for (const GUID& g : wanted) {
            int found = 0;
            for (DWORD i = 0; i < list->ElementCount; ++i)
                if (list->Elements[i].Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS && IsEqualGUID(list->Elements[i].Id, g))
                    ++found;
            EXPECT_EQ(found, 1) << std::hex << g.Data1;
        }
    }
}

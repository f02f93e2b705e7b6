// What the module file carries besides code: its exports, version block,
// icon, manifest, type library and window markup.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/module_exports.h"

namespace registration_test {
namespace {

std::string_view resourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    return {static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found)};
}

std::uint32_t bigEndian32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t index = 0; index < 4; ++index)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + index]);
    return value;
}

TEST(ModuleFile, ExportsExactlyTheFiveEntryPointsByNameWithOrdinalsOneToFive) {
    ModuleExports module;
    const auto* base = reinterpret_cast<const BYTE*>(module.handle());
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    EXPECT_EQ(exports->NumberOfFunctions, 5u);
    EXPECT_EQ(exports->NumberOfNames, 5u);
    EXPECT_EQ(exports->Base, 1u);

    const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllInstall", "DllRegisterServer",
                           "DllUnregisterServer"};
    for (WORD ordinal = 1; ordinal <= 5; ++ordinal) {
        const char* name = names[ordinal - 1];
        FARPROC byName = GetProcAddress(module.handle(), name);
        ASSERT_NE(byName, nullptr) << name;
        EXPECT_EQ(GetProcAddress(module.handle(), MAKEINTRESOURCEA(ordinal)), byName) << name;
    }
}

TEST(ModuleFile, VersionBlockNamesThePluginInUsEnglish) {
    ModuleExports module;
    const std::wstring path = module.path();
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &size));
    ASSERT_GE(size, 4u);
    EXPECT_EQ(translation[0], 0x0409);  // US English
    EXPECT_EQ(translation[1], 1200);    // Unicode

    auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            return std::wstring();
        return std::wstring(value);
    };
    EXPECT_EQ(text(L"FileDescription"), L"Vexa");
    EXPECT_EQ(text(L"InternalName"), L"VexaPlugin");
    EXPECT_EQ(text(L"ProductName"), L"VexaPlugin");
    EXPECT_EQ(text(L"FileVersion"), L"1.0.0.0");
    EXPECT_EQ(text(L"ProductVersion"), L"1.0.0.0");
}

TEST(ModuleFile, IconIsAThirtyTwoPixelPngWithAlpha) {
    ModuleExports module;
    const std::string_view png = resourceBytes(module.handle(), L"ICON", MAKEINTRESOURCEW(10) /* RCDATA */);
    ASSERT_GE(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string_view("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(bigEndian32(png, 16), 32u);  // width
    EXPECT_EQ(bigEndian32(png, 20), 32u);  // height
    EXPECT_EQ(png[24], 8);                 // bits per channel
    EXPECT_EQ(png[25], 6);                 // truecolour with alpha
}

TEST(ModuleFile, ManifestRunsAsInvokerWithCommonControlsSix) {
    ModuleExports module;
    const std::string manifest(resourceBytes(module.handle(), MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(24)));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("processorArchitecture=\"amd64\""), std::string::npos);
}

TEST(ModuleFile, CarriesItsTypeLibraryAsTypelibOne) {
    ModuleExports module;
    const std::string_view library = resourceBytes(module.handle(), MAKEINTRESOURCEW(1), L"TYPELIB");
    ASSERT_GE(library.size(), 4u);
    EXPECT_EQ(library.substr(0, 4), "MSFT");  // the binary type library format
}

TEST(ModuleFile, CarriesTheWindowMarkupAsKiteResourcesNamedByTheirPaths) {
    ModuleExports module;
    for (const wchar_t* name :
         {L"ui/settings_window.xml", L"ui/setup_window.xml", L"ui/analysis_window.xml", L"ui/modal_window.xml"}) {
        const std::string markup(resourceBytes(module.handle(), name, L"Kite"));
        EXPECT_EQ(markup.rfind("<?xml", 0), 0u) << markup;
        EXPECT_NE(markup.find("xmlns=\"urn:nerova:kite:markup:1\""), std::string::npos) << markup;
    }
}

}  // namespace
}  // namespace registration_test

// The built program's resources, read back from BrevaneTwinova.exe, and the pictures it carries.

#include "assets/picture_files.h"
#include "assets/pictures.h"
#include "test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::wstring ProgramPath() {
    return testing_support::BesideTestExecutable(L"BrevaneTwinova.exe");
}

class ProgramResources : public testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "cannot open BrevaneTwinova.exe";
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    // The bytes of one resource, which must exist in exactly that language.
    std::vector<unsigned char> Read(LPCWSTR type, LPCWSTR name, WORD language) const {
        const HRSRC found = FindResourceExW(module_, type, name, language);
        if (found == nullptr) {
            ADD_FAILURE() << "no such resource";
            return {};
        }
        const auto* bytes =
            static_cast<const unsigned char*>(LockResource(LoadResource(module_, found)));
        return {bytes, bytes + SizeofResource(module_, found)};
    }

    HMODULE module_ = nullptr;
};

std::wstring NameOf(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
}

TEST_F(ProgramResources, AreTheIconAndTheVersionBlockAndNothingElse) {
    std::set<std::wstring> resources;  // type/name/language
    EnumResourceTypesW(
        module_,
        [](HMODULE module, LPWSTR type, LONG_PTR found) -> BOOL {
            EnumResourceNamesW(
                module, type,
                [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) -> BOOL {
                    EnumResourceLanguagesW(
                        module, type, name,
                        [](HMODULE, LPCWSTR type, LPCWSTR name, WORD language,
                           LONG_PTR found) -> BOOL {
                            reinterpret_cast<std::set<std::wstring>*>(found)->insert(
                                NameOf(type) + L"/" + NameOf(name) + L"/" +
                                std::to_wstring(language));
                            return TRUE;
                        },
                        found);
                    return TRUE;
                },
                found);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&resources));
    // RT_ICON 30001 and RT_GROUP_ICON 1 language neutral, RT_VERSION 1 in US English.
    EXPECT_EQ(resources, (std::set<std::wstring>{L"3/30001/0", L"14/1/0", L"16/1/1033"}));
}

template <typename T>
T ReadAt(const std::vector<unsigned char>& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) {
        std::memcpy(&value, bytes.data() + offset, sizeof value);
    }
    return value;
}

TEST_F(ProgramResources, TheIconIsImage30001OfTheWindowsIconFile) {
    const std::vector<unsigned char> group = Read(RT_GROUP_ICON, MAKEINTRESOURCEW(1), 0);
    ASSERT_EQ(group.size(), 6U + 14U) << "a header and one entry";
    EXPECT_EQ(ReadAt<WORD>(group, 2), 1);  // icons
    EXPECT_EQ(ReadAt<WORD>(group, 4), 1);  // one entry
    EXPECT_EQ(group[6], 74);               // width
    EXPECT_EQ(group[7], 66);               // height
    EXPECT_EQ(ReadAt<WORD>(group, 12), 24);
    EXPECT_EQ(ReadAt<DWORD>(group, 14), 15616U);
    EXPECT_EQ(ReadAt<WORD>(group, 18), 30001);
    // The same image as the window's icon file, after its 22-byte header and directory.
    const std::vector<unsigned char> image = Read(RT_ICON, MAKEINTRESOURCEW(30001), 0);
    ASSERT_EQ(assets::kProgramIconFile.size, 22U + image.size());
    EXPECT_EQ(std::memcmp(assets::kProgramIconFile.data + 22, image.data(), image.size()), 0);
}

// Decompressed by the system, the pictures are the committed files byte for byte, so they show
// exactly as drawn at every screen scale.
TEST(ProgramPictures, DecompressToTheCommittedFiles) {
    const std::pair<const toolkit::CompressedBmp*, toolkit::Blob> pictures[] = {
        {&assets::kBackground, assets::kBackgroundFile},
        {&assets::kButtonStrip, assets::kButtonStripFile},
    };
    for (const auto& [compressed, file] : pictures) {
        const std::vector<unsigned char> decompressed = toolkit::DecompressBmp(*compressed);
        EXPECT_TRUE(decompressed == std::vector<unsigned char>(file.data, file.data + file.size))
            << compressed->width << " x " << compressed->height;
    }
}

TEST(ProgramVersion, TheVersionBlockAsDesigned) {
    const std::wstring path = ProgramPath();
    std::vector<unsigned char> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
    const auto query = [&block](const std::wstring& item, UINT& size) -> const void* {
        void* value = nullptr;
        size = 0;
        return VerQueryValueW(block.data(), item.c_str(), &value, &size) ? value : nullptr;
    };
    UINT size = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\", size));
    ASSERT_TRUE(fixed != nullptr && size == sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDU);
    const DWORD expected[] = {0x00010000, 0, 0x00010000, 0, 0, 0, 0x4, 0x1, 0, 0, 0};
    const DWORD actual[] = {
        fixed->dwFileVersionMS,    fixed->dwFileVersionLS, fixed->dwProductVersionMS,
        fixed->dwProductVersionLS, fixed->dwFileFlagsMask, fixed->dwFileFlags,
        fixed->dwFileOS,           fixed->dwFileType,      fixed->dwFileSubtype,
        fixed->dwFileDateMS,       fixed->dwFileDateLS};
    EXPECT_THAT(actual, testing::ElementsAreArray(expected));

    const auto* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", size));
    ASSERT_TRUE(translation != nullptr && size == 4);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"Comments", L"Brevane Twinova"}, {L"CompanyName", L"Brevane"},
        {L"FileDescription", L"1.0"},      {L"ProductName", L"BrevaneTwinova"},
        {L"FileVersion", L"1.00"},         {L"ProductVersion", L"1.00"},
        {L"InternalName", L"Twinova"},     {L"OriginalFilename", L"BrevaneTwinova.exe"},
    };
    for (const auto& [name, text] : strings) {
        const auto* value = static_cast<const wchar_t*>(
            query(std::wstring(L"\\StringFileInfo\\040904B0\\") + name, size));
        EXPECT_EQ(std::wstring(value != nullptr ? value : L"(missing)"), text)
            << testing::PrintToString(std::wstring(name));
    }
}

}  // namespace

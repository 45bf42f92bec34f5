#include "registry_test_support.h"

#include "toolkit/handle.h"

#include <sddl.h>

#include <cstdint>
#include <string_view>

namespace registry_test {

namespace {

// The key root\path opened with `access`, or an empty owner when it cannot be opened.
toolkit::UniqueKey OpenKey(HKEY root, const std::wstring& path, REGSAM access) {
    toolkit::UniqueKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, access, key.put()) != ERROR_SUCCESS) {
        key.release();  // a failed open hands out nothing to close
    }
    return key;
}

void FreeLocal(HLOCAL memory) noexcept {
    LocalFree(memory);
}
using UniqueLocalMemory = toolkit::UniqueHandle<HLOCAL, FreeLocal>;

}  // namespace

std::optional<StoredValue> ReadStored(HKEY root, const std::wstring& path,
                                      const std::wstring& name) {
    const toolkit::UniqueKey key = OpenKey(root, path, KEY_QUERY_VALUE);
    if (!key) {
        return std::nullopt;
    }
    StoredValue value{};
    DWORD size = 0;
    LONG status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.bytes.resize(size);
        status = RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.bytes.data(),
                                  &size);
        value.bytes.resize(size);
    }
    if (status != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void Store(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
           const std::vector<BYTE>& bytes) {
    toolkit::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key.get(), name.c_str(), 0, type, bytes.data(),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

void CreateVolatileKey(const std::wstring& path) {
    // Missing parents would be created volatile too; only the last key should be.
    toolkit::UniqueKey parent;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.substr(0, path.rfind(L'\\')).c_str(), 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, parent.put(), nullptr),
              ERROR_SUCCESS);
    toolkit::UniqueKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
}

bool KeyExists(HKEY root, const std::wstring& path) {
    return static_cast<bool>(OpenKey(root, path, KEY_QUERY_VALUE));
}

void DeleteTree(HKEY root, const std::wstring& path) {
    const LONG status = RegDeleteTreeW(root, path.c_str());
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        << "could not delete " << std::string(path.begin(), path.end()) << ": " << status;
}

DWORD ValueCount(HKEY root, const std::wstring& path) {
    const toolkit::UniqueKey key = OpenKey(root, path, KEY_QUERY_VALUE);
    DWORD values = 0;
    if (key) {
        RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
    }
    return values;
}

std::vector<BYTE> TextBytes(const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t));
}

std::vector<BYTE> DwordBytes(DWORD number) {
    return {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
            static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
}

StoredValue Sz(const std::wstring& text) {
    return {REG_SZ, TextBytes(text)};
}
StoredValue Dword(DWORD number) {
    return {REG_DWORD, DwordBytes(number)};
}

bool operator==(const StoredValue& left, const StoredValue& right) {
    return left.type == right.type && left.bytes == right.bytes;
}

void PrintTo(const StoredValue& value, std::ostream* out) {
    *out << "type " << value.type << ", " << value.bytes.size() << " bytes:" << std::hex;
    for (std::size_t i = 0; i < value.bytes.size() && i < 32; ++i) {
        *out << ' ' << static_cast<int>(value.bytes[i]);
    }
    *out << (value.bytes.size() > 32 ? " ..." : "") << std::dec;
}

std::size_t OwnHandleCount() {
    // Handle values are small multiples of 4; each one in use answers GetHandleInformation.
    std::size_t count = 0;
    for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return count;
}

ReadOnlyKey::ReadOnlyKey(std::wstring path) : path_(std::move(path)) {
    Store(HKEY_CURRENT_USER, path_, L"Entry", REG_SZ, TextBytes(L"readable"));
    SetDacl(L"D:P(A;;KRWD;;;WD)", WRITE_DAC);
}

ReadOnlyKey::~ReadOnlyKey() {
    SetDacl(L"D:(A;;KA;;;WD)", WRITE_DAC);
}

void ReadOnlyKey::SetDacl(const wchar_t* sddl, REGSAM access) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    const UniqueLocalMemory descriptorMemory(descriptor);
    const toolkit::UniqueKey key = OpenKey(HKEY_CURRENT_USER, path_, access);
    ASSERT_TRUE(key);
    EXPECT_EQ(RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
}

std::wstring TestCaseKey() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    return std::wstring(kTestsRoot) + L'\\' + std::wstring(name.begin(), name.end());
}

bool InThrowawayPrefix() {
    DWORD marker = 0;
    DWORD size = sizeof marker;
    return RegGetValueW(HKEY_CURRENT_USER, kTestsRoot, L"ThrowawayPrefix", RRF_RT_REG_DWORD,
                        nullptr, &marker, &size) == ERROR_SUCCESS &&
           marker == 1;
}

void RedirectedRootTest::SetUp() {
    DeleteTree(HKEY_CURRENT_USER, TestCaseKey());
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TestCaseKey().c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(root_, key_.get()), ERROR_SUCCESS);
}

void RedirectedRootTest::TearDown() {
    RegOverridePredefKey(root_, nullptr);
    key_.reset();
    DeleteTree(HKEY_CURRENT_USER, TestCaseKey());
}

void CleanKeyTest::SetUp() {
    testKey_ = TestCaseKey();
    DeleteTree(HKEY_CURRENT_USER, testKey_);
}

void CleanKeyTest::TearDown() {
    DeleteTree(HKEY_CURRENT_USER, testKey_);
}

std::optional<RecordedBox> CleanKeyTest::OnlyBox() const {
    EXPECT_EQ(boxes_.boxes().size(), 1u);
    if (boxes_.boxes().size() != 1) {
        return std::nullopt;
    }
    return boxes_.boxes().front();
}

bool BrowserRecordsAddresses() {
    wchar_t browsers[1024] = L"";
    DWORD size = sizeof browsers;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", L"Browsers", RRF_RT_REG_SZ,
                     nullptr, browsers, &size) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring_view list = browsers;
    const std::wstring_view recorder = L"record-browser.sh";
    return list.size() >= recorder.size() && list.substr(list.size() - recorder.size()) == recorder;
}

}  // namespace registry_test

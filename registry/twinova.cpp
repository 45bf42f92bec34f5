#include "registry/twinova.h"

#include <cstdint>
#include <vector>

#include "registry/error_report.h"
#include "registry/registry_routines.h"
#include "toolkit/handle.h"
#include "toolkit/system_functions.h"

namespace registry {
namespace {

// The data of a REG_SZ value of `size` bytes. An odd last byte is no character and is dropped;
// so is one terminating NUL, and only one (the value abc\0\0 reads as abc\0).
Variant ReadText(HKEY key, const std::wstring& valueName, DWORD size) {
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD stored = size;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &stored) != ERROR_SUCCESS) {
        return Variant();
    }
    std::size_t length = stored / sizeof(wchar_t);
    if (length > 0 && buffer[length - 1] == L'\0') {
        --length;
    }
    return Variant(std::wstring_view(buffer.data(), length));
}

// The data of a REG_DWORD value; data longer than 4 bytes makes the read fail (empty).
Variant ReadDword(HKEY key, const std::wstring& valueName) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                         &size) != ERROR_SUCCESS) {
        return Variant();
    }
    return Variant(static_cast<std::int32_t>(number));
}

Variant QueryValue(HKEY rootKey, const std::wstring& keyPath, const std::wstring& valueName,
                   toolkit::UniqueKey& key) {
    // Query rights only: an entry that the user may read but not change still reads.
    HKEY opened = nullptr;
    if (RegOpenKeyExW(rootKey, keyPath.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return Variant();
    }
    key.reset(opened);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return Variant();
    }
    switch (type) {
        case REG_SZ:
            return ReadText(key.get(), valueName, size);
        case REG_DWORD:
            return ReadDword(key.get(), valueName);
        default:
            return Variant();
    }
}

// ReadEntry's text of what GetKeyValue gave: empty, an integer in decimal, or the text.
std::wstring EntryText(const Variant& value) {
    switch (value.Type()) {
        case VT_I4:
            return std::to_wstring(value.get().lVal);
        case VT_BSTR:
            return std::wstring(value.get().bstrVal,
                                toolkit::OleAut32().SysStringLen(value.get().bstrVal).value());
        default:
            return std::wstring();
    }
}

}  // namespace

Twinova::Twinova()
    : rootKey_(static_cast<LONG>(0x80000002)),  // HKEY_LOCAL_MACHINE
      mainBranch_(L"SOFTWARE"),
      section_(L"Settings") {}

std::wstring Twinova::KeyPath() const {
    std::wstring path = mainBranch_ + L'\\' + regBase_ + L'\\' + program_ + L'\\' + section_;
    if (path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

std::wstring Twinova::ReadEntry(const std::wstring& strEntry,
                                const std::wstring& strDefault) const {
    return WithErrorTrap(
        L"ReadEntry",
        [&] {
            std::wstring text = EntryText(GetKeyValue(rootKey_, KeyPath(), strEntry));
            return text.empty() ? strDefault : text;
        },
        [] { return std::wstring(); });
}

bool Twinova::WriteEntry(const std::wstring& strEntry, const std::wstring& strValue) const {
    return WithErrorTrap(
        L"WriteEntry",
        [&] {
            return SetKeyValue(rootKey_, KeyPath(), strEntry, Variant(strValue), REG_SZ) ==
                   ERROR_SUCCESS;
        },
        [] { return false; });
}

Variant Twinova::GetKeyValue(LONG rootKey, const std::wstring& keyPath,
                             const std::wstring& valueName) {
    toolkit::UniqueKey key;  // outside the trap: closed after a report, when the method returns
    return WithErrorTrap(
        L"GetKeyValue", [&] { return QueryValue(RootKeyHandle(rootKey), keyPath, valueName, key); },
        [] { return Variant(); });
}

LONG Twinova::SetKeyValue(LONG rootKey, const std::wstring& keyPath, const std::wstring& valueName,
                          const Variant& value, LONG valueType) {
    return detail::SetKeyValueWithReport(RootKeyHandle(rootKey), keyPath, valueName, value,
                                         valueType, L"SetKeyValue");
}

}  // namespace registry

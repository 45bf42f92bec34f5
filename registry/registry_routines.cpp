#include "registry/registry_routines.h"

#include <cstdint>
#include <vector>

#include "registry/error_report.h"
#include "registry/value_conversion.h"
#include "toolkit/run_time_error.h"

namespace registry {
namespace {

// Access rights of every create call: KEY_QUERY_VALUE, KEY_SET_VALUE,
// KEY_CREATE_SUB_KEY, KEY_ENUMERATE_SUB_KEYS, KEY_NOTIFY and KEY_CREATE_LINK; no DELETE.
constexpr REGSAM kCreateAccess = 0x3F;

LONG WriteText(HKEY key, const std::wstring& valueName, const VARIANT& value) {
    const std::wstring text = ToText(value);
    // REG_SZ data is the text and its terminating NUL: the NUL has to be stored and counted too.
    const std::uint64_t byteCount = (static_cast<std::uint64_t>(text.size()) + 1) * sizeof(wchar_t);
    if (byteCount > MAXDWORD) {
        throw toolkit::RunTimeError(toolkit::kOverflow);
    }
    return RegSetValueExW(key, valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(byteCount));
}

LONG WriteBinary(HKEY key, const std::wstring& valueName, const VARIANT& value) {
    const std::vector<BYTE> bytes = ToRegistryBytes(value);
    return RegSetValueExW(key, valueName.c_str(), 0, REG_BINARY, bytes.data(),
                          static_cast<DWORD>(bytes.size()));
}

LONG WriteDword(HKEY key, const std::wstring& valueName, const VARIANT& value) {
    const auto number = static_cast<std::uint32_t>(ToInt32(value));
    const BYTE data[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                          static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
    return RegSetValueExW(key, valueName.c_str(), 0, REG_DWORD, data, sizeof data);
}

}  // namespace

namespace detail {

LONG CreateOrOpenKey(HKEY rootKey, const std::wstring& keyPath, toolkit::UniqueKey& key) {
    HKEY created = nullptr;
    DWORD disposition = 0;  // asked for by the fixed arguments; never read
    const LONG status = RegCreateKeyExW(rootKey, keyPath.c_str(), 0, nullptr, 0, kCreateAccess,
                                        nullptr, &created, &disposition);
    // Only a successful call hands out a handle; whatever a failed one left is not ours.
    if (status == ERROR_SUCCESS) {
        key.reset(created);
    }
    return status;
}

LONG SetKeyValueWithReport(HKEY rootKey, const std::wstring& keyPath, const std::wstring& valueName,
                           const VARIANT& value, LONG valueType, const wchar_t* routineName) {
    toolkit::UniqueKey key;  // outside the trap: still open while a report shows, then closed
    return WithErrorTrap(
        routineName,
        [&] {
            const LONG created = CreateOrOpenKey(rootKey, keyPath, key);
            if (created != ERROR_SUCCESS) {
                return created;  // no key: nothing written, nothing reported
            }
            switch (valueType) {
                case REG_SZ:
                    return WriteText(key.get(), valueName, value);
                case REG_BINARY:
                    return WriteBinary(key.get(), valueName, value);
                case REG_DWORD:
                    return WriteDword(key.get(), valueName, value);
                default:
                    return kUnsupportedType;
            }
        },
        [] { return kErrorReported; });
}

}  // namespace detail

LONG RegistryCreateNewKey(HKEY rootKey, const std::wstring& keyPath) {
    toolkit::UniqueKey key;
    return WithErrorTrap(
        L"RegistryCreateNewKey", [&] { return detail::CreateOrOpenKey(rootKey, keyPath, key); },
        [] { return kErrorReported; });
}

LONG RegistrySetKeyValue(HKEY rootKey, const std::wstring& keyPath, const std::wstring& valueName,
                         const Variant& value, LONG valueType) {
    return detail::SetKeyValueWithReport(rootKey, keyPath, valueName, value, valueType,
                                         L"RegistrySetKeyValue");
}

}  // namespace registry

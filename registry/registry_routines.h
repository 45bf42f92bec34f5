#pragma once

#include <windows.h>

#include <string>

#include "registry/variant.h"
#include "toolkit/handle.h"

namespace registry {

// The registry routines behind the Apply action, over the wide-character registry functions.
// Neither holds anything between calls: every key handle is owned by one toolkit::UniqueKey and
// closed before the routine returns, on every path.
//
// Both return a status, so that the Apply action can tell a real write from a failure:
// ERROR_SUCCESS when the key was created or opened (and, for RegistrySetKeyValue, the value
// written); otherwise the registry's own code of the call that failed, kErrorReported, or
// kUnsupportedType. Registry failures are never reported to the user; only errors raised inside a
// routine are, in its error report.

// Status of a routine that trapped an error, showed the error report (titled with the
// routine's name) and wrote nothing. FormatMessage describes it as "The data is invalid."
inline constexpr LONG kErrorReported = ERROR_INVALID_DATA;

// Status of RegistrySetKeyValue for a type code other than 1, 3 and 4: the key was created or
// opened and closed again, and no value was written or changed. No report.
inline constexpr LONG kUnsupportedType = ERROR_INVALID_PARAMETER;

// The handle of a predefined root key given by its 32-bit value (0x80000001 for
// HKEY_CURRENT_USER), sign-extended as the SDK's own HKEY_* constants are.
inline HKEY RootKeyHandle(LONG rootKey) noexcept {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(rootKey));
}

// Makes sure that `keyPath` (below `rootKey`, no leading backslash, passed on as given) exists:
// creates it with any missing parents, or opens it, then closes it. Returns the status of
// RegCreateKeyExW.
LONG RegistryCreateNewKey(HKEY rootKey, const std::wstring& keyPath);

// Creates or opens `keyPath` and writes `value` as the value named `valueName` (empty: the
// key's default value) with the registry type `valueType`, converted thus:
//   1 REG_SZ     the text form of the value and one terminating NUL;
//   3 REG_BINARY the elements 0 to the upper bound of a one-dimensional byte array;
//   4 REG_DWORD  the value as a signed 32-bit integer, least significant byte first;
// any other code writes nothing (kUnsupportedType). A value that cannot be converted is
// reported as error 13, 6, 94 or 9 (registry/value_conversion.h) and nothing is written.
// Returns the status of RegCreateKeyExW when it failed, else that of RegSetValueExW.
LONG RegistrySetKeyValue(HKEY rootKey, const std::wstring& keyPath, const std::wstring& valueName,
                         const Variant& value, LONG valueType);

namespace detail {

// RegCreateKeyExW with the fixed arguments of both routines: reserved 0, no class, options 0
// (non-volatile), access 0x3F, default security. `key` owns the handle only on success.
LONG CreateOrOpenKey(HKEY rootKey, const std::wstring& keyPath, toolkit::UniqueKey& key);

// RegistrySetKeyValue with the report titled `routineName`; Twinova's SetKeyValue shares it.
LONG SetKeyValueWithReport(HKEY rootKey, const std::wstring& keyPath, const std::wstring& valueName,
                           const VARIANT& value, LONG valueType, const wchar_t* routineName);

}  // namespace detail

}  // namespace registry

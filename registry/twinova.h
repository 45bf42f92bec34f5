#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "registry/variant.h"

namespace registry {

// A small settings store in the registry: named text entries under the key
// RootKey \ MainBranch\RegBase\Program\Section. The window does not use it.
//
// Every method opens and closes its own key; the object holds no handle between calls. Each
// of ReadEntry, WriteEntry, GetKeyValue and SetKeyValue has its own error trap and shows the
// error report (registry/error_report.h) under its own name; no error reaches the caller
// as an error.
// Registry failures are never reported.
class Twinova {
  public:
    // RootKey 0x80000002 (HKEY_LOCAL_MACHINE), MainBranch "SOFTWARE", RegBase and Program
    // empty, Section "Settings".
    Twinova();

    // The properties, in any value: none is checked. Reads return a copy, writes store one.
    std::wstring MainBranch() const { return mainBranch_; }
    void SetMainBranch(std::wstring strValue) { mainBranch_ = std::move(strValue); }
    std::wstring Program() const { return program_; }
    void SetProgram(std::wstring strValue) { program_ = std::move(strValue); }
    std::wstring RegBase() const { return regBase_; }
    void SetRegBase(std::wstring strValue) { regBase_ = std::move(strValue); }
    // A predefined root key's 32-bit value, such as 0x80000001 for HKEY_CURRENT_USER.
    LONG RootKey() const { return rootKey_; }
    void SetRootKey(LONG eValue) { rootKey_ = eValue; }
    std::wstring Section() const { return section_; }
    void SetSection(std::wstring strValue) { section_ = std::move(strValue); }

    // MainBranch\RegBase\Program\Section with one trailing backslash removed (once). Empty
    // elements leave runs of backslashes, passed to the registry as built: after creation the
    // path is SOFTWARE\\\Settings (three backslashes).
    std::wstring KeyPath() const;

    // The entry `strEntry` as text (a REG_DWORD in decimal), or `strDefault` when it is
    // missing, empty, of another type or unreadable. After an error in its own steps (reported
    // as "ReadEntry") it returns the empty text.
    std::wstring ReadEntry(const std::wstring& strEntry, const std::wstring& strDefault) const;

    // Stores `strValue` as the REG_SZ entry `strEntry`, creating the key when it is missing.
    // Returns whether the entry was stored; callers that do not care may ignore it.
    bool WriteEntry(const std::wstring& strEntry, const std::wstring& strValue) const;

  private:
    friend struct TwinovaTestAccess;

    // The value `valueName` of the key, opened with query rights only: a REG_SZ as text (one
    // terminating NUL dropped), a REG_DWORD as a 32-bit integer, anything else, a missing
    // key or value, or a failed read as empty.
    static Variant GetKeyValue(LONG rootKey, const std::wstring& keyPath,
                               const std::wstring& valueName);

    // RegistrySetKeyValue with the report titled "SetKeyValue"; returns its status.
    static LONG SetKeyValue(LONG rootKey, const std::wstring& keyPath,
                            const std::wstring& valueName, const Variant& value, LONG valueType);

    LONG rootKey_;
    std::wstring mainBranch_;
    std::wstring regBase_;
    std::wstring program_;
    std::wstring section_;
};

}  // namespace registry

#pragma once

// Helpers for the tests that use the real registry of the test Wine prefix, and what keeps them
// away from a user's own settings when they run anywhere else.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"
#include "toolkit/handle.h"

namespace registry_test {

// Where the tests work: HKEY_CURRENT_USER\Software\BrevaneTwinovaTests\<suite>.<test>, one
// key per test case (TestCaseKey), since ctest runs the cases in parallel processes.
inline constexpr wchar_t kTestsRoot[] = L"Software\\BrevaneTwinovaTests";
std::wstring TestCaseKey();

// True in a Wine prefix that the test scripts made to throw away, which they mark with the value
// ThrowawayPrefix under kTestsRoot; false anywhere else, such as on a developer's own Windows.
bool InThrowawayPrefix();

// Begins a case that changes settings of the user's own that the real program uses, in a
// process of its own where no test can redirect them: outside a throwaway prefix the case is
// skipped and says why (`what` names the settings).
#define SKIP_OUTSIDE_THROWAWAY_PREFIX(what)                                                \
    do {                                                                                   \
        if (!::registry_test::InThrowawayPrefix()) {                                       \
            GTEST_SKIP() << "This case changes the user's own " << (what)                  \
                         << ", which the real program uses in a process of its own where " \
                            "no test can redirect it; it runs only in the throwaway Wine " \
                            "prefix of the test scripts.";                                 \
        }                                                                                  \
    } while (false)

// A test whose predefined key `root`, in this process, is the case's own key (TestCaseKey under
// the real HKEY_CURRENT_USER, made empty first and deleted afterwards): code under test that
// writes below that root in-process writes there, wherever the tests run. The case does not run
// if the redirection fails.
class RedirectedRootTest : public ::testing::Test {
  protected:
    explicit RedirectedRootTest(HKEY root) : root_(root) {}
    void SetUp() override;
    void TearDown() override;

  private:
    HKEY root_;
    toolkit::UniqueKey key_;
};

// The user's settings, and the machine's, redirected.
class RedirectedCurrentUserTest : public RedirectedRootTest {
  protected:
    RedirectedCurrentUserTest() : RedirectedRootTest(HKEY_CURRENT_USER) {}
};
class RedirectedLocalMachineTest : public RedirectedRootTest {
  protected:
    RedirectedLocalMachineTest() : RedirectedRootTest(HKEY_LOCAL_MACHINE) {}
};

// A value as the registry stores it.
struct StoredValue {
    DWORD type;
    std::vector<BYTE> bytes;
};

// The value `name` under root\path as stored, or nothing when the key or value is missing.
std::optional<StoredValue> ReadStored(HKEY root, const std::wstring& path,
                                      const std::wstring& name);
// Writes raw data, creating the key; fails the test if the registry refuses.
void Store(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
           const std::vector<BYTE>& bytes);
// Creates HKEY_CURRENT_USER\path as a volatile key below non-volatile parents: the registry refuses
// non-volatile keys below it (ERROR_CHILD_MUST_BE_VOLATILE), which makes a failed create easy to
// provoke.
void CreateVolatileKey(const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);
void DeleteTree(HKEY root, const std::wstring& path);
// The number of values directly under root\path (0 when the key is missing).
DWORD ValueCount(HKEY root, const std::wstring& path);

// Registry data of a text (UTF-16 and one NUL) and of a 32-bit integer.
std::vector<BYTE> TextBytes(const std::wstring& text);
std::vector<BYTE> DwordBytes(DWORD number);
StoredValue Sz(const std::wstring& text);
StoredValue Dword(DWORD number);

bool operator==(const StoredValue& left, const StoredValue& right);
void PrintTo(const StoredValue& value, std::ostream* out);

// Handles that this process holds now (Wine's GetProcessHandleCount reports 0).
std::size_t OwnHandleCount();

// A key that everyone may read but not change (its DACL grants KEY_READ and WRITE_DAC only),
// created under HKEY_CURRENT_USER for as long as it lives; full access is given back before
// it goes, so that the test's key can be deleted.
class ReadOnlyKey {
  public:
    explicit ReadOnlyKey(std::wstring path);
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
    ~ReadOnlyKey();

  private:
    void SetDacl(const wchar_t* sddl, REGSAM access);
    std::wstring path_;
};

using testing_support::BoxRecorder;
using testing_support::RecordedBox;

// A test that starts from a clean key of its own (deleted before and after) with message
// boxes recorded.
class CleanKeyTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The test's own key below HKEY_CURRENT_USER, and paths below it.
    const std::wstring& TestKey() const { return testKey_; }
    std::wstring Below(const std::wstring& relative) const { return testKey_ + L'\\' + relative; }

    std::optional<RecordedBox> OnlyBox() const;
    BoxRecorder boxes_;

  private:
    std::wstring testKey_;
};

// True where the web browser is the test scripts' stand-in, which records the addresses it is
// given (running_program.h names the file) instead of opening them: the Wine prefix's list of
// browsers names it.
bool BrowserRecordsAddresses();

}  // namespace registry_test

// Begins the part of a case that follows the program's web link: unless the browser records the
// address instead of opening it, the case is skipped and says why.
#define SKIP_UNLESS_BROWSER_RECORDS_ADDRESSES()                                           \
    do {                                                                                  \
        if (!::registry_test::BrowserRecordsAddresses()) {                                \
            GTEST_SKIP() << "This case follows the program's web link, which would open " \
                            "the user's own web browser; it runs only where the test "    \
                            "scripts' stand-in browser records the address instead.";     \
        }                                                                                 \
    } while (false)

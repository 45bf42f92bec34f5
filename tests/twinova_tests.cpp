// The settings class Twinova against the real registry of the test Wine prefix.

#include "registry/twinova.h"

#include <gtest/gtest.h>

#include "registry/registry_routines.h"
#include "registry_test_support.h"

namespace registry {

// Reaches the private SetKeyValue, whose report WriteEntry's text values never raise.
struct TwinovaTestAccess {
    static LONG SetKeyValue(LONG rootKey, const std::wstring& keyPath,
                            const std::wstring& valueName, const Variant& value, LONG valueType) {
        return Twinova::SetKeyValue(rootKey, keyPath, valueName, value, valueType);
    }
};

}  // namespace registry

namespace {

using namespace registry_test;
using registry::Twinova;
using registry::TwinovaTestAccess;
using registry::Variant;

constexpr LONG kCurrentUser = static_cast<LONG>(0x80000001);
constexpr LONG kLocalMachine = static_cast<LONG>(0x80000002);

// --- Properties and the key path ---

TEST(TwinovaProperties, ValuesAfterCreation) {
    const Twinova settings;
    EXPECT_EQ(settings.RootKey(), kLocalMachine);
    EXPECT_EQ(settings.MainBranch(), L"SOFTWARE");
    EXPECT_EQ(settings.RegBase(), L"");
    EXPECT_EQ(settings.Program(), L"");
    EXPECT_EQ(settings.Section(), L"Settings");
    EXPECT_EQ(settings.KeyPath(), L"SOFTWARE\\\\\\Settings");  // three backslashes
}

TEST(TwinovaKeyPath, JoinsTheFourElementsWithSingleBackslashes) {
    Twinova settings;
    settings.SetRegBase(L"Brevane");
    settings.SetProgram(L"Twinova");
    settings.SetSection(L"Window");
    EXPECT_EQ(settings.KeyPath(), L"SOFTWARE\\Brevane\\Twinova\\Window");
}

TEST(TwinovaKeyPath, RemovesOneTrailingBackslashOnly) {
    Twinova settings;
    settings.SetRegBase(L"Brevane");
    settings.SetProgram(L"Twinova");
    settings.SetSection(L"");
    EXPECT_EQ(settings.KeyPath(), L"SOFTWARE\\Brevane\\Twinova");

    settings.SetProgram(L"");
    EXPECT_EQ(settings.KeyPath(), L"SOFTWARE\\Brevane\\");  // the second stays

    settings.SetSection(L"Settings\\");
    EXPECT_EQ(settings.KeyPath(), L"SOFTWARE\\Brevane\\\\Settings");

    settings.SetMainBranch(L"");
    settings.SetRegBase(L"");
    settings.SetSection(L"");
    EXPECT_EQ(settings.KeyPath(), L"\\\\");
}

// --- Reading and writing entries ---

// A Twinova object under the test's own key: HKEY_CURRENT_USER, MainBranch = the test key,
// RegBase "Brevane", Program "Twinova", Section "Settings".
class TwinovaTest : public CleanKeyTest {
  protected:
    void SetUp() override {
        CleanKeyTest::SetUp();
        settings_.SetRootKey(kCurrentUser);
        settings_.SetMainBranch(TestKey());
        settings_.SetRegBase(L"Brevane");
        settings_.SetProgram(L"Twinova");
    }

    std::wstring EntryKey() const { return Below(L"Brevane\\Twinova\\Settings"); }

    Twinova settings_;
};

TEST_F(TwinovaTest, WriteEntryStoresTextWithItsNulAndReadEntryReturnsIt) {
    EXPECT_TRUE(settings_.WriteEntry(L"Name", L"abc"));
    const auto stored = ReadStored(HKEY_CURRENT_USER, EntryKey(), L"Name");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->bytes, (std::vector<BYTE>{0x61, 0, 0x62, 0, 0x63, 0, 0, 0}));
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"default"), L"abc");
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(TwinovaTest, EmptyTextIsStoredAsOneNulAndReadsAsTheDefault) {
    EXPECT_TRUE(settings_.WriteEntry(L"Name", L""));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, EntryKey(), L"Name"), (StoredValue{REG_SZ, {0, 0}}));
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"default"), L"default");
}

TEST_F(TwinovaTest, WritingTheSameVariableTwiceLeavesItAndTheStoreAsTheyWere) {
    const std::wstring value = L"same";
    EXPECT_TRUE(settings_.WriteEntry(L"Name", value));
    const auto first = ReadStored(HKEY_CURRENT_USER, EntryKey(), L"Name");
    EXPECT_TRUE(settings_.WriteEntry(L"Name", value));
    EXPECT_EQ(value, L"same");
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, EntryKey(), L"Name"), first);
    EXPECT_EQ(first, Sz(L"same"));
}

TEST_F(TwinovaTest, TextOutsideTheAnsiCodePageRoundTrips) {
    const std::wstring text = L"Bun\u0103 ziua \u0218\u021b \u65e5\u672c\u8a9e \U0001F600";
    settings_.SetProgram(L"Twinova \u65e5");
    EXPECT_TRUE(settings_.WriteEntry(L"Nume \u0219", text));
    EXPECT_EQ(
        ReadStored(HKEY_CURRENT_USER, Below(L"Brevane\\Twinova \u65e5\\Settings"), L"Nume \u0219"),
        Sz(text));
    EXPECT_EQ(settings_.ReadEntry(L"Nume \u0219", L""), text);
}

TEST_F(TwinovaTest, MissingOrUnreadableEntriesReadAsTheDefault) {
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"no key"), L"no key");
    Store(HKEY_CURRENT_USER, EntryKey(), L"Other", REG_SZ, TextBytes(L"x"));
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"no entry"), L"no entry");
    Store(HKEY_CURRENT_USER, EntryKey(), L"Expand", REG_EXPAND_SZ, TextBytes(L"%TEMP%"));
    EXPECT_EQ(settings_.ReadEntry(L"Expand", L"expand"), L"expand");
    Store(HKEY_CURRENT_USER, EntryKey(), L"Binary", REG_BINARY, {0x61, 0, 0x62, 0});
    EXPECT_EQ(settings_.ReadEntry(L"Binary", L"binary"), L"binary");
    Store(HKEY_CURRENT_USER, EntryKey(), L"Long", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(settings_.ReadEntry(L"Long", L"too long"), L"too long");
    Store(HKEY_CURRENT_USER, EntryKey(), L"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(settings_.ReadEntry(L"Qword", L"qword"), L"qword");
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(TwinovaTest, DwordEntriesReadAsSignedDecimalText) {
    Store(HKEY_CURRENT_USER, EntryKey(), L"Five", REG_DWORD, DwordBytes(5));
    Store(HKEY_CURRENT_USER, EntryKey(), L"All", REG_DWORD, DwordBytes(0xFFFFFFFF));
    Store(HKEY_CURRENT_USER, EntryKey(), L"Min", REG_DWORD, DwordBytes(0x80000000));
    Store(HKEY_CURRENT_USER, EntryKey(), L"Zero", REG_DWORD, DwordBytes(0));
    EXPECT_EQ(settings_.ReadEntry(L"Five", L"d"), L"5");
    EXPECT_EQ(settings_.ReadEntry(L"All", L"d"), L"-1");
    EXPECT_EQ(settings_.ReadEntry(L"Min", L"d"), L"-2147483648");
    EXPECT_EQ(settings_.ReadEntry(L"Zero", L"d"), L"0");  // "0" is not empty
}

TEST_F(TwinovaTest, OneTerminatingNulIsDroppedAndOnlyOne) {
    Store(HKEY_CURRENT_USER, EntryKey(), L"NoNul", REG_SZ, {0x61, 0, 0x62, 0});
    Store(HKEY_CURRENT_USER, EntryKey(), L"TwoNuls", REG_SZ, {0x61, 0, 0, 0, 0, 0});
    Store(HKEY_CURRENT_USER, EntryKey(), L"Inner", REG_SZ, {0x61, 0, 0, 0, 0x62, 0, 0, 0});
    Store(HKEY_CURRENT_USER, EntryKey(), L"Nothing", REG_SZ, {});
    Store(HKEY_CURRENT_USER, EntryKey(), L"OddByte", REG_SZ, {0x61, 0, 0x62});
    EXPECT_EQ(settings_.ReadEntry(L"NoNul", L"d"), L"ab");
    EXPECT_EQ(settings_.ReadEntry(L"TwoNuls", L"d"), std::wstring(L"a\0", 2));
    EXPECT_EQ(settings_.ReadEntry(L"Inner", L"d"), std::wstring(L"a\0b", 3));
    EXPECT_EQ(settings_.ReadEntry(L"Nothing", L"d"), L"d");
    EXPECT_EQ(settings_.ReadEntry(L"OddByte", L"d"), L"a");
}

TEST_F(TwinovaTest, ReadsAnEntryTheUserMayReadButNotChange) {
    // GetKeyValue opens with query rights only; with 0x3F this read the default.
    ReadOnlyKey locked(EntryKey());
    EXPECT_EQ(settings_.ReadEntry(L"Entry", L"default"), L"readable");
    EXPECT_FALSE(settings_.WriteEntry(L"Entry", L"changed"));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, EntryKey(), L"Entry"), Sz(L"readable"));
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(TwinovaTest, WriteEntryTellsWhenNothingWasStored) {
    settings_.SetRootKey(static_cast<LONG>(0x80000099));
    EXPECT_FALSE(settings_.WriteEntry(L"Name", L"abc"));
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"default"), L"default");

    settings_.SetRootKey(kCurrentUser);
    CreateVolatileKey(Below(L"Brevane"));
    EXPECT_FALSE(settings_.WriteEntry(L"Name", L"abc"));  // non-volatile under volatile: 1021
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Below(L"Brevane\\Twinova")));
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(TwinovaTest, RunsOfBackslashesFromEmptyElementsArePassedOnAsBuilt) {
    settings_.SetRegBase(L"");
    settings_.SetProgram(L"");
    ASSERT_EQ(settings_.KeyPath(), TestKey() + L"\\\\\\Settings");
    EXPECT_TRUE(settings_.WriteEntry(L"Name", L"abc"));
    // Wine collapses the run, so the entry is under <test key>\Settings.
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(L"Settings"), L"Name"), Sz(L"abc"));
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"default"), L"abc");
}

TEST_F(TwinovaTest, LongNamesAndTextAreStoredExactlyOrRefused) {
    for (std::size_t length : {0u, 255u, 300u}) {
        SCOPED_TRACE(length);
        const std::wstring entry(length, L'e');
        EXPECT_TRUE(settings_.WriteEntry(entry, L"value"));
        EXPECT_EQ(settings_.ReadEntry(entry, L"default"), L"value");
    }
    settings_.SetSection(std::wstring(300, L's'));  // a key name too long for the registry
    EXPECT_FALSE(settings_.WriteEntry(L"Name", L"value"));
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"default"), L"default");

    settings_.SetSection(L"Settings");
    const std::wstring big(1 << 20, L'\u0103');
    EXPECT_TRUE(settings_.WriteEntry(L"Big", big));
    EXPECT_EQ(settings_.ReadEntry(L"Big", L""), big);
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(TwinovaTest, HoldsNoKeyAfterAnyCall) {
    const auto callEveryPath = [&] {
        settings_.WriteEntry(L"Name", L"abc");
        settings_.ReadEntry(L"Name", L"default");
        settings_.ReadEntry(L"Missing", L"default");
        Twinova elsewhere;
        elsewhere.SetRootKey(static_cast<LONG>(0x80000099));
        elsewhere.WriteEntry(L"Name", L"abc");
        elsewhere.ReadEntry(L"Name", L"default");
    };
    callEveryPath();
    const std::size_t before = OwnHandleCount();
    for (int i = 0; i < 25; ++i) {
        callEveryPath();
    }
    EXPECT_EQ(OwnHandleCount(), before);
}

// --- The private methods ---

TEST_F(TwinovaTest, SetKeyValueReportsUnderItsOwnName) {
    // The class only ever passes text; a value with no text form shows SetKeyValue's report.
    Store(HKEY_CURRENT_USER, TestKey(), L"Name", REG_SZ, TextBytes(L"before"));
    EXPECT_EQ(TwinovaTestAccess::SetKeyValue(kCurrentUser, TestKey(), L"Name",
                                             Variant::Bytes({1, 2}), REG_SZ),
              registry::kErrorReported);
    auto box = OnlyBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Error: 13. Type mismatch");
    EXPECT_EQ(box->title, L"SetKeyValue");
    EXPECT_EQ(box->style, 0u);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Name"), Sz(L"before"));
}

// --- The object as created: HKEY_LOCAL_MACHINE\SOFTWARE\\\Settings ---

TEST(TwinovaDefaults, ReadsAndWritesUnderLocalMachineSoftwareSettings) {
    BoxRecorder boxes;
    // Wine collapses the three backslashes: the entry lands in HKLM\SOFTWARE\Settings.
    const std::wstring key = L"SOFTWARE\\Settings";
    const std::wstring entry = L"BrevaneTwinovaTests." + std::to_wstring(GetCurrentProcessId());
    const bool keyExisted = KeyExists(HKEY_LOCAL_MACHINE, key);

    const Twinova settings;
    EXPECT_EQ(settings.ReadEntry(entry, L"default"), L"default");
    EXPECT_TRUE(settings.WriteEntry(entry, L"abc"));
    EXPECT_EQ(ReadStored(HKEY_LOCAL_MACHINE, key, entry), Sz(L"abc"));
    EXPECT_EQ(settings.ReadEntry(entry, L"default"), L"abc");
    EXPECT_TRUE(boxes.boxes().empty());

    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), entry.c_str());
    if (!keyExisted && ValueCount(HKEY_LOCAL_MACHINE, key) == 0) {
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());
    }
}

}  // namespace

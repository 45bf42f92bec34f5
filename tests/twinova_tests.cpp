// The settings class Twinova against the real registry of the test Wine prefix.

#include "registry/twinova.h"

#include <gtest/gtest.h>

#include <vector>

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

// --- The key path ---

TEST(TwinovaKeyPath, JoinsTheFourElementsAndDropsOneTrailingBackslash) {
    const Twinova created;
    EXPECT_EQ(created.RootKey(), kLocalMachine);
    EXPECT_EQ(created.MainBranch(), L"SOFTWARE");
    EXPECT_EQ(created.RegBase(), L"");
    EXPECT_EQ(created.Program(), L"");
    EXPECT_EQ(created.Section(), L"Settings");
    const struct {
        const wchar_t *mainBranch, *regBase, *program, *section, *path;
    } cases[] = {
        {L"SOFTWARE", L"", L"", L"Settings", L"SOFTWARE\\\\\\Settings"},  // as created
        {L"SOFTWARE", L"Brevane", L"Twinova", L"Window", L"SOFTWARE\\Brevane\\Twinova\\Window"},
        {L"SOFTWARE", L"Brevane", L"Twinova", L"", L"SOFTWARE\\Brevane\\Twinova"},
        {L"SOFTWARE", L"Brevane", L"", L"", L"SOFTWARE\\Brevane\\"},  // the second stays
        {L"SOFTWARE", L"Brevane", L"", L"Settings\\", L"SOFTWARE\\Brevane\\\\Settings"},
        {L"", L"", L"", L"", L"\\\\"},
    };
    for (const auto& row : cases) {
        Twinova settings;
        settings.SetMainBranch(row.mainBranch);
        settings.SetRegBase(row.regBase);
        settings.SetProgram(row.program);
        settings.SetSection(row.section);
        EXPECT_EQ(settings.KeyPath(), row.path);
    }
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

TEST_F(TwinovaTest, AnEntryReadsBackAsWrittenAndAnEmptyOneAsTheDefault) {
    settings_.SetProgram(L"Twinova \u65e5");  // outside the ANSI code page, as the last text
    const std::wstring key = Below(L"Brevane\\Twinova \u65e5\\Settings");
    const std::wstring unicode = L"Bun\u0103 ziua \u0218\u021b \u65e5\u672c\u8a9e \U0001F600";
    const struct {
        const wchar_t* entry;
        std::wstring written;
        std::wstring read;  // with the default "default"
    } cases[] = {
        {L"Name", L"abc", L"abc"},
        {L"Empty", L"", L"default"},
        {L"Nume \u0219", unicode, unicode},
    };
    for (const auto& row : cases) {
        EXPECT_TRUE(settings_.WriteEntry(row.entry, row.written));
        EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, key, row.entry), Sz(row.written));
        EXPECT_EQ(settings_.ReadEntry(row.entry, L"default"), row.read);
    }
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(TwinovaTest, ReadEntryGivesTextsAndDwordsAndTheDefaultForAnythingElse) {
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"no key"), L"no key");
    const struct {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> bytes;
        std::wstring read;  // with the default "d"
    } cases[] = {
        {L"Text", REG_SZ, TextBytes(L"abc"), L"abc"},
        {L"Empty", REG_SZ, TextBytes(L""), L"d"},
        {L"Nothing", REG_SZ, {}, L"d"},
        // One terminating NUL is dropped, and only one; an odd last byte is no character.
        {L"NoNul", REG_SZ, {0x61, 0, 0x62, 0}, L"ab"},
        {L"TwoNuls", REG_SZ, {0x61, 0, 0, 0, 0, 0}, std::wstring(L"a\0", 2)},
        {L"Inner", REG_SZ, {0x61, 0, 0, 0, 0x62, 0, 0, 0}, std::wstring(L"a\0b", 3)},
        {L"OddByte", REG_SZ, {0x61, 0, 0x62}, L"a"},
        {L"Big", REG_SZ, TextBytes(std::wstring(1 << 20, L'\u0103')),
         std::wstring(1 << 20, L'\u0103')},
        // Signed decimal text.
        {L"Five", REG_DWORD, DwordBytes(5), L"5"},
        {L"All", REG_DWORD, DwordBytes(0xFFFFFFFF), L"-1"},
        {L"Min", REG_DWORD, DwordBytes(0x80000000), L"-2147483648"},
        {L"Zero", REG_DWORD, DwordBytes(0), L"0"},
        {L"Long", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}, L"d"},
        {L"Expand", REG_EXPAND_SZ, TextBytes(L"%TEMP%"), L"d"},
        {L"Binary", REG_BINARY, {0x61, 0, 0x62, 0}, L"d"},
        {L"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, L"d"},
    };
    for (const auto& row : cases) {
        Store(HKEY_CURRENT_USER, EntryKey(), row.name, row.type, row.bytes);
    }
    for (const auto& row : cases) {
        EXPECT_EQ(settings_.ReadEntry(row.name, L"d"), row.read)
            << testing::PrintToString(row.name);
    }
    EXPECT_EQ(settings_.ReadEntry(L"Missing", L"no entry"), L"no entry");
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(TwinovaTest, WriteEntryTellsWhetherTheTextWasStored) {
    // GetKeyValue opens with query rights only, so an entry the user may not change reads.
    const ReadOnlyKey locked(EntryKey());
    EXPECT_EQ(settings_.ReadEntry(L"Entry", L"default"), L"readable");
    EXPECT_FALSE(settings_.WriteEntry(L"Entry", L"changed"));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, EntryKey(), L"Entry"), Sz(L"readable"));

    settings_.SetSection(std::wstring(300, L's'));  // a key name too long for the registry
    EXPECT_FALSE(settings_.WriteEntry(L"Name", L"value"));
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"default"), L"default");
    settings_.SetRootKey(static_cast<LONG>(0x80000099));
    EXPECT_FALSE(settings_.WriteEntry(L"Name", L"abc"));
    EXPECT_EQ(settings_.ReadEntry(L"Name", L"default"), L"default");
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(TwinovaTest, NoRoutineHoldsAKeyAfterAnyCall) {
    CreateVolatileKey(Below(L"volatile"));
    const HKEY invalidRoot = registry::RootKeyHandle(static_cast<LONG>(0x80000099));
    const auto callEveryPath = [&] {
        using registry::RegistryCreateNewKey;
        using registry::RegistrySetKeyValue;
        RegistryCreateNewKey(HKEY_CURRENT_USER, Below(L"new"));              // created, then opened
        RegistryCreateNewKey(HKEY_CURRENT_USER, Below(L"volatile\\child"));  // refused
        RegistryCreateNewKey(invalidRoot, Below(L"new"));                    // refused
        RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"V", L"00000001", 4);  // written
        RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"V", L"abc", 4);       // reported
        RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"V", Variant::Bytes({}), 3);
        RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"V", L"abc", 7);         // unsupported
        RegistrySetKeyValue(HKEY_CURRENT_USER, Below(L"volatile\\x"), L"V", 1, 4);  // refused
        RegistrySetKeyValue(invalidRoot, TestKey(), L"V", 1, 4);                    // refused
        settings_.WriteEntry(L"Name", L"abc");
        settings_.ReadEntry(L"Name", L"default");
        settings_.ReadEntry(L"Missing", L"default");
        Twinova elsewhere;
        elsewhere.SetRootKey(static_cast<LONG>(0x80000099));
        elsewhere.ReadEntry(L"Name", L"default");
    };
    callEveryPath();  // Wine opens the predefined roots once, on first use
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

// --- The object as created: HKEY_LOCAL_MACHINE\SOFTWARE\\\Settings, redirected ---

using TwinovaDefaults = RedirectedLocalMachineTest;

TEST_F(TwinovaDefaults, ReadsAndWritesUnderLocalMachineSoftwareSettings) {
    const BoxRecorder boxes;
    const Twinova settings;
    EXPECT_EQ(settings.ReadEntry(L"Entry", L"default"), L"default");
    EXPECT_TRUE(settings.WriteEntry(L"Entry", L"abc"));
    // Wine collapses the three backslashes: the entry lands in SOFTWARE\Settings, below the
    // case's own key that stands for HKEY_LOCAL_MACHINE.
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestCaseKey() + L"\\SOFTWARE\\Settings", L"Entry"),
              Sz(L"abc"));
    EXPECT_EQ(settings.ReadEntry(L"Entry", L"default"), L"abc");
    EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace

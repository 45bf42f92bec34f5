// RegistryCreateNewKey and RegistrySetKeyValue against the real registry of the test Wine
// prefix. Every case starts from a clean key of its own.

#include "registry/registry_routines.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "registry_test_support.h"

namespace {

using namespace registry_test;
using registry::kErrorReported;
using registry::kUnsupportedType;
using registry::RegistryCreateNewKey;
using registry::RegistrySetKeyValue;
using registry::RootKeyHandle;
using registry::Variant;
using testing_support::Decimal;

const HKEY kInvalidRoot = RootKeyHandle(static_cast<LONG>(0x80000099));

// --- Both routines: where the key goes, and what the registry refuses ---

// A key path given to both routines: the code each returns, with no report either way, and
// the key the path names afterwards (as the registry keeps the path).
struct PathCase {
    const char* name;
    HKEY root;
    std::wstring path;  // below the test's key
    LONG status;
    const wchar_t* keyAfter;  // below the test's key; null: none
};

class BothRoutines : public CleanKeyTest {};

TEST_F(BothRoutines, CreateOrRefuseEachKeyPathWithTheRegistrysOwnCode) {
    CreateVolatileKey(Below(L"volatile"));
    const ReadOnlyKey locked(Below(L"locked"));
    const std::wstring name255(255, L'k');
    const std::wstring name300(300, L'k');
    const PathCase cases[] = {
        {"every missing level", HKEY_CURRENT_USER, L"one\\two\\three", ERROR_SUCCESS,
         L"one\\two\\three"},
        {"255-character name", HKEY_CURRENT_USER, name255, ERROR_SUCCESS, name255.c_str()},
        // Passed on as given: Wine collapses the run of backslashes.
        {"run of backslashes", HKEY_CURRENT_USER, L"SOFTWARE\\\\\\Settings", ERROR_SUCCESS,
         L"SOFTWARE\\Settings"},
        {"300-character name", HKEY_CURRENT_USER, name300, ERROR_INVALID_PARAMETER, nullptr},
        {"non-volatile below volatile", HKEY_CURRENT_USER, L"volatile\\Test",
         ERROR_CHILD_MUST_BE_VOLATILE, nullptr},
        {"invalid root", kInvalidRoot, L"new", ERROR_INVALID_HANDLE, nullptr},
        {"no root", nullptr, L"new", ERROR_INVALID_HANDLE, nullptr},
        // The fixed access 0x3F includes write rights, so even opening an existing key that
        // the user may only read fails.
        {"read-only key", HKEY_CURRENT_USER, L"locked", ERROR_ACCESS_DENIED, L"locked"},
    };
    for (const PathCase& row : cases) {
        SCOPED_TRACE(row.name);
        const std::wstring path = Below(row.path);
        const bool written = row.status == ERROR_SUCCESS;
        EXPECT_EQ(RegistryCreateNewKey(row.root, path), row.status);
        if (written) {
            EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Below(row.keyAfter)));
            DeleteTree(HKEY_CURRENT_USER, Below(row.keyAfter));
        }
        // Without a key the value is never converted, so a bad value is not reported either.
        EXPECT_EQ(RegistrySetKeyValue(row.root, path, L"V", L"abc", 4),
                  written ? kErrorReported : row.status);
        boxes_.clear();
        EXPECT_EQ(RegistrySetKeyValue(row.root, path, L"V", L"abc", 1), row.status);
        EXPECT_TRUE(boxes_.boxes().empty());
        if (row.keyAfter == nullptr) {
            EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, path));
        } else {
            EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(row.keyAfter), L"V"),
                      written ? std::optional<StoredValue>(Sz(L"abc")) : std::nullopt);
        }
    }
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(L"locked"), L"Entry"), Sz(L"readable"));
}

TEST_F(BothRoutines, AnExistingKeyIsOpenedAndOnlyTheNamedValueChanges) {
    Store(HKEY_CURRENT_USER, TestKey(), L"Other", REG_SZ, TextBytes(L"kept"));
    Store(HKEY_CURRENT_USER, TestKey(), L"", REG_BINARY, {1, 2});
    Store(HKEY_CURRENT_USER, Below(L"child"), L"Plural", REG_SZ, TextBytes(L"child"));
    EXPECT_EQ(RegistryCreateNewKey(HKEY_CURRENT_USER, TestKey()), ERROR_SUCCESS);
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, TestKey()), 2u);

    // Whatever type the value had before, it becomes what was written.
    const StoredValue earlier[] = {
        Sz(L"yes"),
        {REG_BINARY, {9, 9, 9, 9, 9, 9, 9, 9}},
        {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
        {REG_EXPAND_SZ, TextBytes(L"%PATH%")},
        Dword(0),
    };
    for (const StoredValue& value : earlier) {
        SCOPED_TRACE(value.type);
        Store(HKEY_CURRENT_USER, TestKey(), L"Plural", value.type, value.bytes);
        EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Plural", L"00000001", 4),
                  ERROR_SUCCESS);
        EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Plural"), Dword(1));
    }
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Other"), Sz(L"kept"));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L""), (StoredValue{REG_BINARY, {1, 2}}));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(L"child"), L"Plural"), Sz(L"child"));
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, TestKey()), 3u);
    EXPECT_TRUE(boxes_.boxes().empty());
}

// --- RegistrySetKeyValue ---

using RegistrySetKeyValueTest = CleanKeyTest;

TEST_F(RegistrySetKeyValueTest, ReportIsExactAndTheKeyClosesAfterIt) {
    // Warm up: Wine opens the predefined root and oleaut32 its tables on first use.
    RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Plural", L"abc", 4);
    boxes_.clear();
    const std::size_t before = OwnHandleCount();
    std::size_t whileShown = 0;
    boxes_.onShow = [&] { whileShown = OwnHandleCount(); };

    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Plural", L"abc", 4),
              kErrorReported);

    auto box = OnlyBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Error: 13. Type mismatch");
    EXPECT_EQ(box->style, 0u);  // OK only, no icon
    EXPECT_EQ(box->title, L"RegistrySetKeyValue");
    EXPECT_EQ(whileShown, before + 1) << "the routine holds its key while the report shows";
    EXPECT_EQ(OwnHandleCount(), before) << "and closes it before it returns";
    EXPECT_FALSE(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Plural"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, TestKey()));  // created before the conversion
}

TEST_F(RegistrySetKeyValueTest, UnsupportedTypeCodeCreatesTheKeyAndWritesNothing) {
    for (LONG type : {0, 2, 7, -1, 5, 11}) {
        SCOPED_TRACE(type);
        DeleteTree(HKEY_CURRENT_USER, TestKey());
        EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Plural", L"1", type),
                  kUnsupportedType);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, TestKey()));
        EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, TestKey()), 0u);
    }
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistrySetKeyValueTest, NamesAndTextsOfAnyLengthAreStoredExactly) {
    for (std::size_t length : {0u, 255u, 300u}) {
        SCOPED_TRACE(length);
        const std::wstring name(length, L'v');
        EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), name, L"abc", 1),
                  ERROR_SUCCESS);
        EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), name), Sz(L"abc"));
    }
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, TestKey()), 3u);  // the default value among them

    std::wstring text(1 << 20, L'x');
    for (std::size_t i = 0; i < text.size(); i += 997) {
        text[i] = static_cast<wchar_t>(L'a' + i % 26);
    }
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Big", text, 1), ERROR_SUCCESS);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Big"), Sz(text));

    // The empty path names the root itself: the value lands directly under HKEY_CURRENT_USER.
    const std::wstring rootValue = L"BrevaneTwinovaTests." + std::to_wstring(GetCurrentProcessId());
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, L"", rootValue, L"abc", 1), ERROR_SUCCESS);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, L"", rootValue), Sz(L"abc"));
    RegDeleteValueW(HKEY_CURRENT_USER, rootValue.c_str());
    EXPECT_TRUE(boxes_.boxes().empty());
}

// --- Every type code with every kind of value ---

// What one value does with one type code: written as `stored`, or reported with `report`.
struct Outcome {
    const wchar_t* report;              // null: written
    std::optional<StoredValue> stored;  // nothing when written: some text, from oleaut32
};
Outcome Writes(StoredValue stored) {
    return {nullptr, std::move(stored)};
}
Outcome WritesPlatformText() {
    return {nullptr, std::nullopt};
}
Outcome Raises(const wchar_t* report) {
    return {report, std::nullopt};
}

struct ValueKind {
    const char* name;
    std::function<Variant()> make;
    Outcome asText;    // type 1
    Outcome asBinary;  // type 3
    Outcome asDword;   // type 4
};

// A value that owns `array`, whose elements are of type `elementType`.
Variant Holding(VARTYPE elementType, SAFEARRAY* array) {
    Variant value;
    VARIANT* filled = value.put();
    filled->vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
    filled->parray = array;
    return value;
}

Variant TwoDimensionalBytes() {
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    return Holding(VT_UI1, SafeArrayCreate(VT_UI1, 2, bounds));
}

Variant IntegerArray() {
    SAFEARRAYBOUND bound{2, 0};
    return Holding(VT_I4, SafeArrayCreate(VT_I4, 1, &bound));
}

std::vector<ValueKind> EveryKindOfValue() {
    constexpr auto kMismatch = L"Error: 13. Type mismatch";
    constexpr auto kSubscript = L"Error: 9. Subscript out of range";
    constexpr auto kOverflow = L"Error: 6. Overflow";
    constexpr auto kNull = L"Error: 94. Invalid use of Null";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    // clang-format off
    return {
        // kind               value                                      type 1 (REG_SZ)             type 3 (REG_BINARY)                 type 4 (REG_DWORD)
        {"text abc",          [] { return Variant(L"abc"); },            Writes(Sz(L"abc")),         Raises(kMismatch),                  Raises(kMismatch)},
        {"text 00000001",     [] { return Variant(L"00000001"); },       Writes(Sz(L"00000001")),    Raises(kMismatch),                  Writes(Dword(1))},
        {"empty text",        [] { return Variant(L""); },               Writes(Sz(L"")),            Raises(kMismatch),                  Raises(kMismatch)},
        {"integer -1",        [] { return Variant(-1); },                Writes(Sz(L"-1")),          Raises(kMismatch),                  Writes(Dword(0xFFFFFFFF))},
        {"double 2.5",        [] { return Variant(2.5); },               Writes(Sz(Decimal(L"2", L"5"))), Raises(kMismatch),             Writes(Dword(2))},
        {"double 2147483648", [] { return Variant(2147483648.0); },      Writes(Sz(L"2147483648")),  Raises(kMismatch),                  Raises(kOverflow)},
        {"double NaN",        [nan] { return Variant(nan); },            WritesPlatformText(),       Raises(kMismatch),                  Raises(kOverflow)},
        {"double -infinity",  [infinity] { return Variant(-infinity); }, WritesPlatformText(),       Raises(kMismatch),                  Raises(kOverflow)},
        {"single 1.5",        [] { return Variant::Single(1.5f); },      Writes(Sz(Decimal(L"1", L"5"))), Raises(kMismatch),             Writes(Dword(2))},
        {"boolean true",      [] { return Variant::Boolean(true); },     Writes(Sz(L"True")),        Raises(kMismatch),                  Writes(Dword(0xFFFFFFFF))},
        {"empty",             [] { return Variant(); },                  Writes(Sz(L"")),            Raises(kMismatch),                  Writes(Dword(0))},
        {"null",              [] { return Variant::Null(); },            Writes(Sz(L"")),            Raises(kMismatch),                  Raises(kNull)},
        {"bytes 0 to 2",      [] { return Variant::Bytes({1, 2, 3}); },  Raises(kMismatch),          Writes({REG_BINARY, {1, 2, 3}}),    Raises(kMismatch)},
        {"bytes -1 to 2",     [] { return Variant::Bytes({1, 2, 3, 4}, -1); }, Raises(kMismatch),    Writes({REG_BINARY, {2, 3, 4}}),    Raises(kMismatch)},
        {"bytes 1 to 3",      [] { return Variant::Bytes({1, 2, 3}, 1); },  Raises(kMismatch),       Raises(kSubscript),                 Raises(kMismatch)},
        {"bytes -3 to -1",    [] { return Variant::Bytes({1, 2, 3}, -3); }, Raises(kMismatch),       Raises(kSubscript),                 Raises(kMismatch)},
        {"empty bytes",       [] { return Variant::Bytes({}); },         Raises(kMismatch),          Raises(kSubscript),                 Raises(kMismatch)},
        {"erased bytes",      [] { return Variant::ErasedByteArray(); }, Raises(kMismatch),          Raises(kSubscript),                 Raises(kMismatch)},
        {"2 by 2 bytes",      [] { return TwoDimensionalBytes(); },      Raises(kMismatch),          Raises(kSubscript),                 Raises(kMismatch)},
        {"integer array",     [] { return IntegerArray(); },             Raises(kMismatch),          Raises(kMismatch),                  Raises(kMismatch)},
    };
    // clang-format on
}

class EveryTypeCode : public CleanKeyTest, public ::testing::WithParamInterface<LONG> {};

TEST_P(EveryTypeCode, GivesAReportOrACleanWriteWithEveryKindOfValue) {
    const LONG type = GetParam();
    const std::wstring path = TestKey();
    for (const ValueKind& kind : EveryKindOfValue()) {
        SCOPED_TRACE(kind.name);
        Store(HKEY_CURRENT_USER, path, L"Plural", REG_SZ, TextBytes(L"before"));
        Store(HKEY_CURRENT_USER, path, L"Other", REG_DWORD, DwordBytes(42));
        boxes_.clear();

        const LONG status =
            RegistrySetKeyValue(HKEY_CURRENT_USER, path, L"Plural", kind.make(), type);
        const auto stored = ReadStored(HKEY_CURRENT_USER, path, L"Plural");

        const Outcome* outcome = type == REG_SZ       ? &kind.asText
                                 : type == REG_BINARY ? &kind.asBinary
                                 : type == REG_DWORD  ? &kind.asDword
                                                      : nullptr;
        if (outcome == nullptr) {
            EXPECT_EQ(status, kUnsupportedType);
            EXPECT_TRUE(boxes_.boxes().empty());
            EXPECT_EQ(stored, Sz(L"before"));
        } else if (outcome->report != nullptr) {
            EXPECT_EQ(status, kErrorReported);
            if (auto box = OnlyBox()) {
                EXPECT_EQ(box->text, outcome->report);
                EXPECT_EQ(box->title, L"RegistrySetKeyValue");
                EXPECT_EQ(box->style, 0u);
            }
            EXPECT_EQ(stored, Sz(L"before"));
        } else {
            EXPECT_EQ(status, ERROR_SUCCESS);
            EXPECT_TRUE(boxes_.boxes().empty());
            if (outcome->stored) {
                EXPECT_EQ(stored, outcome->stored);
            } else {
                // A text in the platform's form: non-empty, whole characters, one final NUL.
                ASSERT_TRUE(stored);
                EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
                ASSERT_GE(stored->bytes.size(), 4u);
                EXPECT_EQ(stored->bytes.size() % 2, 0u);
                EXPECT_EQ(stored->bytes[stored->bytes.size() - 1], 0);
                EXPECT_EQ(stored->bytes[stored->bytes.size() - 2], 0);
            }
        }
        EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, path, L"Other"), Dword(42));
        EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, path), 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryTypeCode, ::testing::Values(1, 3, 4, 2, 0, -1, 7),
                         [](const ::testing::TestParamInfo<LONG>& info) {
                             return info.param < 0 ? "minus" + std::to_string(-info.param)
                                                   : std::to_string(info.param);
                         });

}  // namespace

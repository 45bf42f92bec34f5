// RegistryCreateNewKey and RegistrySetKeyValue against the real registry of the test Wine
// prefix. Every case starts from a clean key of its own.

#include "registry/registry_routines.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "registry_test_support.h"
#include "toolkit/run_time_error.h"

namespace {

using namespace registry_test;
using registry::kErrorReported;
using registry::kUnsupportedType;
using registry::RegistryCreateNewKey;
using registry::RegistrySetKeyValue;
using registry::RootKeyHandle;
using registry::Variant;

const HKEY kInvalidRoot = RootKeyHandle(static_cast<LONG>(0x80000099));

// --- RegistryCreateNewKey ---

using RegistryCreateNewKeyTest = CleanKeyTest;

TEST_F(RegistryCreateNewKeyTest, RootHandleIsSignExtended) {
    EXPECT_EQ(RootKeyHandle(static_cast<LONG>(0x80000001)), HKEY_CURRENT_USER);
    EXPECT_EQ(RootKeyHandle(static_cast<LONG>(0x80000002)), HKEY_LOCAL_MACHINE);
}

TEST_F(RegistryCreateNewKeyTest, CreatesEveryMissingLevel) {
    EXPECT_EQ(RegistryCreateNewKey(HKEY_CURRENT_USER, Below(L"one\\two\\three")), ERROR_SUCCESS);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Below(L"one\\two\\three")));
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistryCreateNewKeyTest, OpensAnExistingKeyAndChangesNothing) {
    Store(HKEY_CURRENT_USER, Below(L"existing"), L"Plural", REG_SZ, TextBytes(L"kept"));
    Store(HKEY_CURRENT_USER, Below(L"existing\\child"), L"", REG_SZ, TextBytes(L"child"));

    EXPECT_EQ(RegistryCreateNewKey(HKEY_CURRENT_USER, Below(L"existing")), ERROR_SUCCESS);

    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(L"existing"), L"Plural"), Sz(L"kept"));
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, Below(L"existing")), 1u);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Below(L"existing\\child")));
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistryCreateNewKeyTest, RefusalsAreReturnedWithoutReport) {
    CreateVolatileKey(Below(L"volatile"));
    EXPECT_EQ(RegistryCreateNewKey(HKEY_CURRENT_USER, Below(L"volatile\\Test")),
              ERROR_CHILD_MUST_BE_VOLATILE);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Below(L"volatile\\Test")));

    EXPECT_EQ(RegistryCreateNewKey(kInvalidRoot, Below(L"new")), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegistryCreateNewKey(nullptr, Below(L"new")), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Below(L"new")));

    // The fixed access 0x3F includes write rights, so even opening an existing key that the
    // user may only read fails. (Wine checks no rights on the keys a path passes through, so
    // a new key below this one would be created.)
    ReadOnlyKey locked(Below(L"locked"));
    EXPECT_EQ(RegistryCreateNewKey(HKEY_CURRENT_USER, Below(L"locked")), ERROR_ACCESS_DENIED);

    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistryCreateNewKeyTest, LongKeyNamesAreCreatedExactlyOrRefused) {
    // A key name may have 255 characters (Wine takes 256); 300 is refused, silently.
    const std::wstring name255(255, L'k');
    EXPECT_EQ(RegistryCreateNewKey(HKEY_CURRENT_USER, Below(name255)), ERROR_SUCCESS);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Below(name255)));

    const std::wstring name300(300, L'k');
    EXPECT_EQ(RegistryCreateNewKey(HKEY_CURRENT_USER, Below(name300)), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Below(name300)));
    EXPECT_TRUE(boxes_.boxes().empty());
}

// --- RegistrySetKeyValue ---

using RegistrySetKeyValueTest = CleanKeyTest;

TEST_F(RegistrySetKeyValueTest, ApplyValueIsStoredAsDwordOne) {
    // What the Apply action writes: the text "00000001" with type code 4.
    const std::wstring path = Below(L"yahoo\\pager\\Test");
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, path, L"Plural", L"00000001", 4),
              ERROR_SUCCESS);
    const auto stored = ReadStored(HKEY_CURRENT_USER, path, L"Plural");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(stored->bytes, (std::vector<BYTE>{0x01, 0x00, 0x00, 0x00}));
    EXPECT_TRUE(boxes_.boxes().empty());

    // A second write stores the same again.
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, path, L"Plural", L"00000001", 4),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, path, L"Plural"), Dword(1));
}

TEST_F(RegistrySetKeyValueTest, TextIsStoredWithItsTerminatingNul) {
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Text", L"abc", 1), ERROR_SUCCESS);
    const auto stored = ReadStored(HKEY_CURRENT_USER, TestKey(), L"Text");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    // abc and one NUL, in UTF-16: the registry keeps REG_SZ as UTF-16 whichever form wrote it.
    EXPECT_EQ(stored->bytes, (std::vector<BYTE>{0x61, 0, 0x62, 0, 0x63, 0, 0, 0}));

    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Empty", Variant(), 1),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Empty"), (StoredValue{REG_SZ, {0, 0}}));
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistrySetKeyValueTest, TextOutsideTheAnsiCodePageIsStoredUncorrupted) {
    const std::wstring text = L"\u0218tefan \u021b \u65e5\u672c \u0416 \U0001F600";
    const std::wstring path = Below(L"\u0218ir \u65e5");
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, path, L"Nume \u0103\u00ee", text, 1),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, path, L"Nume \u0103\u00ee"), Sz(text));
}

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

TEST_F(RegistrySetKeyValueTest, OtherValuesUnderTheKeyAreLeftUntouched) {
    Store(HKEY_CURRENT_USER, TestKey(), L"Other", REG_SZ, TextBytes(L"kept"));
    Store(HKEY_CURRENT_USER, TestKey(), L"Number", REG_DWORD, DwordBytes(7));
    Store(HKEY_CURRENT_USER, TestKey(), L"", REG_BINARY, {1, 2});
    Store(HKEY_CURRENT_USER, Below(L"child"), L"Plural", REG_SZ, TextBytes(L"child"));

    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Plural", L"00000001", 4),
              ERROR_SUCCESS);
    RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Plural", L"abc", 4);  // reported

    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Plural"), Dword(1));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Other"), Sz(L"kept"));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Number"), Dword(7));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L""), (StoredValue{REG_BINARY, {1, 2}}));
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(L"child"), L"Plural"), Sz(L"child"));
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, TestKey()), 4u);
}

TEST_F(RegistrySetKeyValueTest, ExistingValueOfAnotherTypeIsReplaced) {
    const std::vector<StoredValue> earlier = {
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

TEST_F(RegistrySetKeyValueTest, RefusalsAreReturnedWithoutReport) {
    // Failures the caller must be told of: nothing written, nothing shown, the code returned.
    CreateVolatileKey(Below(L"pager"));
    EXPECT_EQ(
        RegistrySetKeyValue(HKEY_CURRENT_USER, Below(L"pager\\Test"), L"Plural", L"00000001", 4),
        ERROR_CHILD_MUST_BE_VOLATILE);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Below(L"pager\\Test")));
    // Without a key the value is never converted, so a bad value is not reported either.
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, Below(L"pager\\Test"), L"Plural", L"abc", 4),
              ERROR_CHILD_MUST_BE_VOLATILE);

    EXPECT_EQ(RegistrySetKeyValue(kInvalidRoot, Below(L"new"), L"Plural", L"00000001", 4),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegistrySetKeyValue(nullptr, Below(L"new"), L"Plural", L"abc", 4),
              ERROR_INVALID_HANDLE);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Below(L"new")));

    ReadOnlyKey locked(Below(L"locked"));
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, Below(L"locked"), L"Entry", L"changed", 1),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(L"locked"), L"Entry"), Sz(L"readable"));

    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistrySetKeyValueTest, ValueNamesOfAnyLengthAreStoredExactly) {
    for (std::size_t length : {0u, 255u, 300u}) {
        SCOPED_TRACE(length);
        const std::wstring name(length, L'v');
        EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), name, L"abc", 1),
                  ERROR_SUCCESS);
        EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), name), Sz(L"abc"));
    }
    EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, TestKey()), 3u);  // the default value among them
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistrySetKeyValueTest, KeyPathsOfAnyLengthAreWrittenExactlyOrRefused) {
    // The empty path names the root itself: the value lands directly under HKEY_CURRENT_USER.
    const std::wstring rootValue = L"BrevaneTwinovaTests." + std::to_wstring(GetCurrentProcessId());
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, L"", rootValue, L"abc", 1), ERROR_SUCCESS);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, L"", rootValue), Sz(L"abc"));
    RegDeleteValueW(HKEY_CURRENT_USER, rootValue.c_str());

    // One key name of 255 characters is written; one of 300 is refused, with no report.
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, Below(std::wstring(255, L'k')), L"V", 5, 4),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(std::wstring(255, L'k')), L"V"), Dword(5));
    EXPECT_EQ(RegistrySetKeyValue(HKEY_CURRENT_USER, Below(std::wstring(300, L'k')), L"V", 5, 4),
              ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Below(std::wstring(300, L'k'))));
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistrySetKeyValueTest, RunsOfBackslashesArePassedOnAsGiven) {
    EXPECT_EQ(
        RegistrySetKeyValue(HKEY_CURRENT_USER, Below(L"SOFTWARE\\\\\\Settings"), L"V", L"abc", 1),
        ERROR_SUCCESS);
    // Wine collapses the run; the value is where the collapsed path names.
    EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, Below(L"SOFTWARE\\Settings"), L"V"), Sz(L"abc"));
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistrySetKeyValueTest, OneMegabyteTextIsWrittenExactlyOrRefused) {
    std::wstring text(1 << 20, L'x');
    for (std::size_t i = 0; i < text.size(); i += 997) {
        text[i] = static_cast<wchar_t>(L'a' + i % 26);
    }
    const LONG status = RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Big", text, 1);
    if (status == ERROR_SUCCESS) {
        EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Big"), Sz(text));
    } else {
        EXPECT_FALSE(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Big"));
    }
    EXPECT_EQ(status, ERROR_SUCCESS) << "Wine stores 2 MB values";
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(RegistrySetKeyValueTest, BothRoutinesCloseTheirKeyOnEveryPath) {
    CreateVolatileKey(Below(L"volatile"));
    const auto callEveryPath = [&] {
        RegistryCreateNewKey(HKEY_CURRENT_USER, Below(L"new"));              // created, then opened
        RegistryCreateNewKey(HKEY_CURRENT_USER, Below(L"volatile\\child"));  // refused
        RegistryCreateNewKey(kInvalidRoot, Below(L"new"));                   // refused
        RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"V", L"00000001", 4);  // written
        RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"V", L"abc", 4);       // reported
        RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"V", Variant::Bytes({}), 3);
        RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"V", L"abc", 7);         // unsupported
        RegistrySetKeyValue(HKEY_CURRENT_USER, Below(L"volatile\\x"), L"V", 1, 4);  // refused
        RegistrySetKeyValue(kInvalidRoot, TestKey(), L"V", 1, 4);                   // refused
    };
    callEveryPath();  // Wine opens the predefined roots once, on first use
    const std::size_t before = OwnHandleCount();
    for (int i = 0; i < 25; ++i) {
        callEveryPath();
    }
    EXPECT_EQ(OwnHandleCount(), before);
}

// --- Every type code with every kind of value ---

// What one value does with one type code: written as `stored`, or reported as `error`.
struct Outcome {
    long error;
    std::optional<StoredValue> stored;  // nothing with error 0: some text, from oleaut32
};
Outcome Writes(StoredValue stored) {
    return {0, std::move(stored)};
}
Outcome WritesPlatformText() {
    return {0, std::nullopt};
}
Outcome Raises(long error) {
    return {error, std::nullopt};
}

struct ValueKind {
    const char* name;
    std::function<Variant()> make;
    Outcome asText;    // type 1
    Outcome asBinary;  // type 3
    Outcome asDword;   // type 4
};

Variant TwoDimensionalBytes() {
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    return Variant::FromSafeArray(VT_UI1,
                                  registry::UniqueSafeArray(SafeArrayCreate(VT_UI1, 2, bounds)));
}

Variant IntegerArray() {
    SAFEARRAYBOUND bound{2, 0};
    return Variant::FromSafeArray(VT_I4,
                                  registry::UniqueSafeArray(SafeArrayCreate(VT_I4, 1, &bound)));
}

std::wstring Decimal(const wchar_t* whole, const wchar_t* fraction) {
    wchar_t separator[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    return std::wstring(whole) + separator + fraction;
}

std::vector<ValueKind> EveryKindOfValue() {
    constexpr long kMismatch = toolkit::kTypeMismatch;
    constexpr long kSubscript = toolkit::kSubscriptOutOfRange;
    constexpr long kOverflow = toolkit::kOverflow;
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
        {"double 3.5",        [] { return Variant(3.5); },               Writes(Sz(Decimal(L"3", L"5"))), Raises(kMismatch),             Writes(Dword(4))},
        {"double -2.5",       [] { return Variant(-2.5); },              Writes(Sz(Decimal(L"-2", L"5"))), Raises(kMismatch),            Writes(Dword(static_cast<DWORD>(-2)))},
        {"double 2147483648", [] { return Variant(2147483648.0); },      Writes(Sz(L"2147483648")),  Raises(kMismatch),                  Raises(kOverflow)},
        {"double NaN",        [nan] { return Variant(nan); },            WritesPlatformText(),       Raises(kMismatch),                  Raises(kOverflow)},
        {"double -infinity",  [infinity] { return Variant(-infinity); }, WritesPlatformText(),       Raises(kMismatch),                  Raises(kOverflow)},
        {"single 1.5",        [] { return Variant::Single(1.5f); },      Writes(Sz(Decimal(L"1", L"5"))), Raises(kMismatch),             Writes(Dword(2))},
        {"boolean true",      [] { return Variant::Boolean(true); },     Writes(Sz(L"True")),        Raises(kMismatch),                  Writes(Dword(0xFFFFFFFF))},
        {"empty",             [] { return Variant(); },                  Writes(Sz(L"")),            Raises(kMismatch),                  Writes(Dword(0))},
        {"null",              [] { return Variant::Null(); },            Writes(Sz(L"")),            Raises(kMismatch),                  Raises(toolkit::kInvalidUseOfNull)},
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
        } else if (outcome->error != 0) {
            EXPECT_EQ(status, kErrorReported);
            if (auto box = OnlyBox()) {
                EXPECT_EQ(box->text, L"Error: " + std::to_wstring(outcome->error) + L". " +
                                         toolkit::StandardDescription(outcome->error));
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

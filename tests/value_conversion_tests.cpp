// The integer conversion's rounding, parsing and range rules, the cases that no registry
// write can reach, and the Variant owner's copies and moves. The text and byte-array forms
// are checked through the registry, with every type code, in registry_routines_tests.cpp.

#include "registry/value_conversion.h"
#include "registry/variant.h"
#include "test_support.h"
#include "toolkit/run_time_error.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using registry::ToInt32;
using registry::ToRegistryBytes;
using registry::ToText;
using registry::Variant;
using testing_support::Decimal;
using testing_support::ErrorNumberOf;

// A value that refers to `target` (VT_BYREF), as a caller's by-reference argument does.
template <typename T>
VARIANT Reference(VARTYPE type, T* target) {
    VARIANT reference;
    VariantInit(&reference);
    reference.vt = static_cast<VARTYPE>(VT_BYREF | type);
    reference.byref = target;
    return reference;
}

TEST(ToInt32, RoundsHalvesToEvenAndReadsTextInTheUserLocale) {
    const std::pair<Variant, std::int32_t> cases[] = {
        {Variant(0.5), 0},
        {Variant(1.5), 2},
        {Variant(2.6), 3},
        {Variant(-3.5), -4},
        {Variant::Single(2.5f), 2},
        {Variant(2147483647.0), 2147483647},
        {Variant(-2147483648.0), std::numeric_limits<std::int32_t>::min()},
        {Variant(L" -7 "), -7},
        {Variant(L"+12"), 12},
        {Variant(Decimal(L"2", L"5")), 2},  // read as a number, then rounded like one
        {Variant(L"-2147483648"), std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(ToInt32(value), expected) << ToText(value);
    }
}

TEST(ToInt32, OutOfRangeNaNAndInfinitiesAreOverflow) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    // oleaut32 alone would give 2147483647 for NaN, with no error.
    for (const Variant& value :
         {Variant(2147483647.5), Variant(-2147483649.0), Variant(L"2147483648"), Variant(1e300),
          Variant(nan), Variant(infinity), Variant(-infinity),
          Variant::Single(std::numeric_limits<float>::quiet_NaN())}) {
        EXPECT_EQ(ErrorNumberOf([&] { ToInt32(value); }), toolkit::kOverflow) << ToText(value);
    }
    for (const Variant& value : {Variant(L""), Variant(L"1 2"), Variant(L"0x10")}) {
        EXPECT_EQ(ErrorNumberOf([&] { ToInt32(value); }), toolkit::kTypeMismatch) << ToText(value);
    }
}

TEST(ValueConversion, ReadsThroughReferences) {
    LONG number = 7;
    EXPECT_EQ(ToInt32(Reference(VT_I4, &number)), 7);
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ErrorNumberOf([&] { ToInt32(Reference(VT_R8, &nan)); }), toolkit::kOverflow);
    Variant text(L"abc");
    BSTR textData = text.get().bstrVal;
    EXPECT_EQ(ToText(Reference(VT_BSTR, &textData)), L"abc");
    Variant nothing = Variant::Null();
    auto* nullTarget = const_cast<VARIANT*>(&nothing.get());
    EXPECT_EQ(ErrorNumberOf([&] { ToInt32(Reference(VT_VARIANT, nullTarget)); }),
              toolkit::kInvalidUseOfNull);
}

TEST(ValueConversion, TextKeepsEmbeddedNuls) {
    const std::wstring text(L"a\0b", 3);
    EXPECT_EQ(ToText(Variant(text)), text);
}

// A byte array whose bounds claim 2^31 elements from index 0 over a buffer of 4 bytes: the
// conversion must refuse it from its bounds alone, without touching the data.
class HugeByteArray {
  public:
    HugeByteArray() {
        SafeArrayAllocDescriptor(1, &descriptor_);
        descriptor_->cbElements = 1;
        descriptor_->fFeatures = FADF_STATIC;
        descriptor_->rgsabound[0].cElements = 0x80000000u;
        descriptor_->rgsabound[0].lLbound = 0;
        descriptor_->pvData = data_;
        VariantInit(&value_);
        value_.vt = VT_ARRAY | VT_UI1;
        value_.parray = descriptor_;
    }
    HugeByteArray(const HugeByteArray&) = delete;
    HugeByteArray& operator=(const HugeByteArray&) = delete;
    ~HugeByteArray() {
        descriptor_->pvData = nullptr;
        SafeArrayDestroyDescriptor(descriptor_);
    }
    const VARIANT& get() const { return value_; }

  private:
    BYTE data_[4] = {1, 2, 3, 4};
    SAFEARRAY* descriptor_ = nullptr;
    VARIANT value_;
};

TEST(ToRegistryBytes, UpperBoundOfTheLargestIntegerIsOverflow) {
    HugeByteArray huge;
    EXPECT_EQ(ErrorNumberOf([&] { ToRegistryBytes(huge.get()); }), toolkit::kOverflow);
}

TEST(Variant, CopiesAreDeepAndMovesEmptyTheSource) {
    static_assert(!std::is_constructible_v<Variant, bool>, "a bool must not become an integer");
    Variant original(L"abc");
    Variant copy(original);
    EXPECT_NE(copy.get().bstrVal, original.get().bstrVal);
    EXPECT_EQ(ToText(copy), L"abc");

    Variant moved(std::move(original));
    EXPECT_EQ(original.Type(), VT_EMPTY);  // NOLINT(bugprone-use-after-move): checked on purpose
    EXPECT_EQ(ToText(moved), L"abc");

    copy = Variant::Bytes({1, 2}, -1);
    Variant second = copy;
    EXPECT_NE(second.get().parray, copy.get().parray);
    EXPECT_EQ(ToRegistryBytes(second), (std::vector<BYTE>{2}));
}

}  // namespace

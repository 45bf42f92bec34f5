#include "registry/variant.h"

#include <climits>
#include <cstring>
#include <utility>

#include "toolkit/handle.h"
#include "toolkit/run_time_error.h"
#include "toolkit/system_functions.h"

namespace registry {
namespace {

using toolkit::OleAut32;

void DestroySafeArray(SAFEARRAY* array) noexcept {
    OleAut32().SafeArrayDestroy(array);
}

// Sole owner of a SAFEARRAY.
using UniqueSafeArray = toolkit::UniqueHandle<SAFEARRAY*, DestroySafeArray>;

}  // namespace

Variant::Variant(std::wstring_view text) : Variant() {
    if (text.size() > UINT_MAX / sizeof(wchar_t)) {
        throw toolkit::RunTimeError(toolkit::kOutOfMemory);
    }
    BSTR copy = OleAut32().SysAllocStringLen(text.data(), static_cast<UINT>(text.size())).value();
    if (copy == nullptr) {
        throw toolkit::RunTimeError(toolkit::kOutOfMemory);
    }
    value_.vt = VT_BSTR;
    value_.bstrVal = copy;
}

Variant::Variant(std::int32_t number) noexcept : Variant() {
    value_.vt = VT_I4;
    value_.lVal = number;
}

Variant::Variant(double number) noexcept : Variant() {
    value_.vt = VT_R8;
    value_.dblVal = number;
}

Variant Variant::Null() noexcept {
    Variant null;
    null.value_.vt = VT_NULL;
    return null;
}

Variant Variant::Boolean(bool value) noexcept {
    Variant boolean;
    boolean.value_.vt = VT_BOOL;
    boolean.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return boolean;
}

Variant Variant::Single(float number) noexcept {
    Variant single;
    single.value_.vt = VT_R4;
    single.value_.fltVal = number;
    return single;
}

Variant Variant::Bytes(const std::vector<BYTE>& bytes, LONG lowerBound) {
    if (bytes.size() > ULONG_MAX) {
        throw toolkit::RunTimeError(toolkit::kOutOfMemory);
    }
    SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), lowerBound};
    UniqueSafeArray array(OleAut32().SafeArrayCreate(VT_UI1, 1, &bound).value());
    if (!array) {
        throw toolkit::RunTimeError(toolkit::kOutOfMemory);
    }
    if (!bytes.empty()) {
        void* data = nullptr;
        if (FAILED(OleAut32().SafeArrayAccessData(array.get(), &data).value())) {
            throw toolkit::RunTimeError(toolkit::kOutOfMemory);
        }
        std::memcpy(data, bytes.data(), bytes.size());
        OleAut32().SafeArrayUnaccessData(array.get());
    }
    Variant result;
    result.value_.vt = VT_ARRAY | VT_UI1;
    result.value_.parray = array.release();
    return result;
}

Variant Variant::ErasedByteArray() noexcept {
    Variant erased;
    erased.value_.vt = VT_ARRAY | VT_UI1;
    erased.value_.parray = nullptr;
    return erased;
}

Variant::Variant(const VARIANT& other) : Variant() {
    // The SDK declares the source without const, though VariantCopy only reads it.
    HRESULT result = OleAut32().VariantCopy(&value_, const_cast<VARIANT*>(&other)).value();
    if (FAILED(result)) {
        throw toolkit::ErrorFromHResult(result);
    }
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_) {
    // A VARIANT is a plain structure: moving it is a bitwise copy that leaves the source empty.
    other.value_.vt = VT_EMPTY;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        OleAut32().VariantClear(&value_);
        value_ = other.value_;
        other.value_.vt = VT_EMPTY;
    }
    return *this;
}

Variant::~Variant() {
    OleAut32().VariantClear(&value_);
}

VARIANT* Variant::put() noexcept {
    OleAut32().VariantClear(&value_);
    return &value_;
}

}  // namespace registry

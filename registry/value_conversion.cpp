#include "registry/value_conversion.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "registry/variant.h"
#include "toolkit/run_time_error.h"
#include "toolkit/system_functions.h"

namespace registry {
namespace {

using toolkit::OleAut32;
using toolkit::RunTimeError;

// The value itself, or for a VT_BYREF value a copy of what it refers to, held in `holder`.
const VARIANT& ReadThrough(const VARIANT& value, Variant& holder) {
    if ((value.vt & VT_BYREF) == 0) {
        return value;
    }
    // The SDK declares the sources of oleaut32's functions without const, though they only
    // read them.
    HRESULT result = OleAut32().VariantCopyInd(holder.put(), const_cast<VARIANT*>(&value)).value();
    if (FAILED(result)) {
        throw toolkit::ErrorFromHResult(result);
    }
    return holder.get();
}

Variant ChangeType(const VARIANT& value, USHORT flags, VARTYPE type) {
    Variant result;
    HRESULT status = OleAut32()
                         .VariantChangeTypeEx(result.put(), const_cast<VARIANT*>(&value),
                                              LOCALE_USER_DEFAULT, flags, type)
                         .value();
    if (FAILED(status)) {
        throw toolkit::ErrorFromHResult(status);
    }
    return result;
}

std::wstring TextOfBstr(BSTR text) {
    return text == nullptr ? std::wstring()
                           : std::wstring(text, OleAut32().SysStringLen(text).value());
}

bool IsFloatingPoint(VARTYPE type) {
    return type == VT_R4 || type == VT_R8 || type == VT_DATE;
}

double FloatingPointValue(const VARIANT& value) {
    return value.vt == VT_R4 ? static_cast<double>(value.fltVal) : value.dblVal;
}

// Locks an array's data in place (SafeArrayAccessData) for as long as it lives.
class ArrayDataAccess {
  public:
    explicit ArrayDataAccess(SAFEARRAY* array) : array_(array) {
        HRESULT result = OleAut32().SafeArrayAccessData(array_, &data_).value();
        if (FAILED(result)) {
            throw toolkit::ErrorFromHResult(result);
        }
    }
    ArrayDataAccess(const ArrayDataAccess&) = delete;
    ArrayDataAccess& operator=(const ArrayDataAccess&) = delete;
    ~ArrayDataAccess() { OleAut32().SafeArrayUnaccessData(array_); }

    const BYTE* bytes() const noexcept { return static_cast<const BYTE*>(data_); }

  private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
};

}  // namespace

std::wstring ToText(const VARIANT& input) {
    Variant holder;
    const VARIANT& value = ReadThrough(input, holder);
    if ((value.vt & VT_ARRAY) != 0) {
        // oleaut32 would turn a byte array into characters; an array has no text form.
        throw RunTimeError(toolkit::kTypeMismatch);
    }
    switch (value.vt) {
        case VT_BSTR:
            return TextOfBstr(value.bstrVal);
        case VT_EMPTY:
        case VT_NULL:  // oleaut32 refuses Null; its text form is the empty text
            return std::wstring();
        default:
            // VARIANT_ALPHABOOL: a boolean's text form is "True" or "False", not "-1" or "0".
            return TextOfBstr(ChangeType(value, VARIANT_ALPHABOOL, VT_BSTR).get().bstrVal);
    }
}

std::int32_t ToInt32(const VARIANT& input) {
    Variant holder;
    const VARIANT& value = ReadThrough(input, holder);
    if (value.vt == VT_NULL) {
        throw RunTimeError(toolkit::kInvalidUseOfNull);
    }
    if ((value.vt & VT_ARRAY) != 0) {
        throw RunTimeError(toolkit::kTypeMismatch);
    }
    if (IsFloatingPoint(value.vt) && !std::isfinite(FloatingPointValue(value))) {
        // oleaut32 turns NaN into 2147483647 without complaint.
        throw RunTimeError(toolkit::kOverflow);
    }
    return ChangeType(value, 0, VT_I4).get().lVal;
}

std::vector<BYTE> ToRegistryBytes(const VARIANT& input) {
    Variant holder;
    const VARIANT& value = ReadThrough(input, holder);
    // Only a byte array is bytes: oleaut32 would also make bytes of a text, which we refuse.
    if (value.vt != (VT_ARRAY | VT_UI1)) {
        throw RunTimeError(toolkit::kTypeMismatch);
    }
    SAFEARRAY* array = value.parray;
    if (array == nullptr || OleAut32().SafeArrayGetDim(array).value() != 1) {
        throw RunTimeError(toolkit::kSubscriptOutOfRange);
    }
    // Bounds in 64 bits: lower bound + element count - 1 can pass the 32-bit range.
    const SAFEARRAYBOUND& bound = array->rgsabound[0];
    const std::int64_t lower = bound.lLbound;
    const std::int64_t upper = lower + static_cast<std::int64_t>(bound.cElements) - 1;
    if (lower > 0 || upper < 0) {
        throw RunTimeError(toolkit::kSubscriptOutOfRange);
    }
    const std::int64_t byteCount = upper + 1;  // elements 0 to the upper bound
    if (byteCount > INT32_MAX) {
        throw RunTimeError(toolkit::kOverflow);
    }
    ArrayDataAccess access(array);
    const BYTE* first = access.bytes() + (0 - lower) * static_cast<std::int64_t>(array->cbElements);
    return std::vector<BYTE>(first, first + byteCount);
}

}  // namespace registry

#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace registry {

// A dynamically typed value for the registry routines: an OLE Automation VARIANT that owns what it
// holds and clears it (VariantClear) when it goes. Copies are deep (VariantCopy).
//
// Built in C++ as:
//   Variant()                        empty
//   Variant(L"abc"), Variant(text)   text (VT_BSTR; embedded NULs are kept)
//   Variant(5)                       32-bit integer (VT_I4)
//   Variant(2.5)                     floating-point number (VT_R8)
//   Variant::Null()                  null
//   Variant::Bytes({1, 2, 3}, -1)    one-dimensional byte array with the given lower bound
// and, for the other kinds the registry routines must cope with, Boolean, Single and
// ErasedByteArray. Allocation failures throw toolkit::RunTimeError(7).
class Variant {
  public:
    Variant() noexcept : value_() { value_.vt = VT_EMPTY; }
    Variant(std::wstring_view text);
    Variant(const wchar_t* text) : Variant(std::wstring_view(text)) {}
    Variant(const std::wstring& text) : Variant(std::wstring_view(text)) {}
    Variant(std::int32_t number) noexcept;
    Variant(double number) noexcept;
    // A bool would silently become the integer 1; say Variant::Boolean(b) instead.
    Variant(bool) = delete;

    static Variant Null() noexcept;
    static Variant Boolean(bool value) noexcept;
    static Variant Single(float number) noexcept;
    // A one-dimensional array of bytes indexed from lowerBound to lowerBound + size - 1.
    static Variant Bytes(const std::vector<BYTE>& bytes, LONG lowerBound = 0);
    // A byte-array variant whose array was erased (a null SAFEARRAY pointer).
    static Variant ErasedByteArray() noexcept;

    // Copies any VARIANT (VariantCopy); the original stays with its owner.
    explicit Variant(const VARIANT& other);

    Variant(const Variant& other) : Variant(other.value_) {}
    Variant& operator=(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    VARTYPE Type() const noexcept { return value_.vt; }
    const VARIANT& get() const noexcept { return value_; }
    operator const VARIANT&() const noexcept { return value_; }

    // Clears the value and hands out the VARIANT for a call that fills it.
    VARIANT* put() noexcept;

  private:
    VARIANT value_;
};

}  // namespace registry

#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <vector>

namespace registry {

// The conversions that build registry data from a dynamically typed value. Each throws
// toolkit::RunTimeError with the run-time error number of the failure. The number,
// rounding and locale rules are oleaut32's (VariantChangeTypeEx in the user's locale); these
// functions add only what it does not do the same way. A VT_BYREF value is read through.

// Text form (REG_SZ): text unchanged (embedded NULs kept); empty and null give the empty text;
// numbers their decimal form in the user's locale; booleans "True"/"False"; other scalars
// oleaut32's text form; an array or a value with no text form: type mismatch (13).
std::wstring ToText(const VARIANT& input);

// Signed 32-bit integer (REG_DWORD): halves round to even, text is read in the user's locale,
// empty gives 0. Null: invalid use of Null (94). NaN, an infinity or a result out of the 32-bit
// range: overflow (6). A non-numeric text, an array or a value with no numeric form: type
// mismatch (13).
std::int32_t ToInt32(const VARIANT& input);

// Registry data of a byte array (REG_BINARY): its elements with indexes 0 to its upper bound.
// Anything but a byte array (text included): type mismatch (13). An erased array, more or
// fewer than one dimension, or index 0 outside the bounds (an empty array among them):
// subscript out of range (9). An upper bound of 2147483647: overflow (6), as upper bound + 1
// is the byte count.
std::vector<BYTE> ToRegistryBytes(const VARIANT& input);

}  // namespace registry

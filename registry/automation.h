#pragma once

#include <windows.h>
#include <oleauto.h>

// The OLE Automation functions the registry routines use. They come from oleaut32.dll, which
// is loaded on first use: the program needs it only for Apply, and loading it (with the COM
// libraries it pulls in) at start would slow every start.
//
// Each raises "Error in loading DLL" when oleaut32 cannot be loaded, except the three that
// release things, which cannot have been made without it and do nothing then.
namespace registry::automation {

BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
UINT SysStringLen(BSTR text);

HRESULT VariantClear(VARIANTARG* value) noexcept;
HRESULT VariantCopy(VARIANTARG* destination, const VARIANTARG* source);
HRESULT VariantCopyInd(VARIANT* destination, const VARIANTARG* source);
HRESULT VariantChangeTypeEx(VARIANTARG* destination, const VARIANTARG* source, LCID locale,
                            USHORT flags, VARTYPE type);

SAFEARRAY* SafeArrayCreate(VARTYPE elementType, UINT dimensions, SAFEARRAYBOUND* bounds);
HRESULT SafeArrayDestroy(SAFEARRAY* array) noexcept;
UINT SafeArrayGetDim(SAFEARRAY* array);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array) noexcept;

}  // namespace registry::automation

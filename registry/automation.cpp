#include "registry/automation.h"

#include "toolkit/system_library.h"

namespace registry::automation {
namespace {

constexpr wchar_t kOleAut32[] = L"oleaut32.dll";

template <typename Function>
using OleAut32Function = toolkit::SystemFunction<Function>;

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    static const OleAut32Function<decltype(&::SysAllocStringLen)> function(kOleAut32,
                                                                           "SysAllocStringLen");
    return function(text, length);
}

UINT SysStringLen(BSTR text) {
    static const OleAut32Function<decltype(&::SysStringLen)> function(kOleAut32, "SysStringLen");
    return function(text);
}

HRESULT VariantClear(VARIANTARG* value) noexcept {
    static const OleAut32Function<decltype(&::VariantClear)> function(kOleAut32, "VariantClear");
    return function ? function.get()(value) : S_OK;
}

// The SDK declares the sources of these without const, though they only read them.
HRESULT VariantCopy(VARIANTARG* destination, const VARIANTARG* source) {
    static const OleAut32Function<decltype(&::VariantCopy)> function(kOleAut32, "VariantCopy");
    return function(destination, const_cast<VARIANTARG*>(source));
}

HRESULT VariantCopyInd(VARIANT* destination, const VARIANTARG* source) {
    static const OleAut32Function<decltype(&::VariantCopyInd)> function(kOleAut32,
                                                                        "VariantCopyInd");
    return function(destination, const_cast<VARIANTARG*>(source));
}

HRESULT VariantChangeTypeEx(VARIANTARG* destination, const VARIANTARG* source, LCID locale,
                            USHORT flags, VARTYPE type) {
    static const OleAut32Function<decltype(&::VariantChangeTypeEx)> function(kOleAut32,
                                                                             "VariantChangeTypeEx");
    return function(destination, const_cast<VARIANTARG*>(source), locale, flags, type);
}

SAFEARRAY* SafeArrayCreate(VARTYPE elementType, UINT dimensions, SAFEARRAYBOUND* bounds) {
    static const OleAut32Function<decltype(&::SafeArrayCreate)> function(kOleAut32,
                                                                         "SafeArrayCreate");
    return function(elementType, dimensions, bounds);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) noexcept {
    static const OleAut32Function<decltype(&::SafeArrayDestroy)> function(kOleAut32,
                                                                          "SafeArrayDestroy");
    return function ? function.get()(array) : S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) {
    static const OleAut32Function<decltype(&::SafeArrayGetDim)> function(kOleAut32,
                                                                         "SafeArrayGetDim");
    return function(array);
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    static const OleAut32Function<decltype(&::SafeArrayAccessData)> function(kOleAut32,
                                                                             "SafeArrayAccessData");
    return function(array, data);
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) noexcept {
    static const OleAut32Function<decltype(&::SafeArrayUnaccessData)> function(
        kOleAut32, "SafeArrayUnaccessData");
    return function ? function.get()(array) : S_OK;
}

}  // namespace registry::automation

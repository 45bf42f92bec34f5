#include "registry/automation.h"

#include "toolkit/system_functions.h"

namespace registry::automation {

using toolkit::OleAut32;

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    return OleAut32().SysAllocStringLen(text, length);
}

UINT SysStringLen(BSTR text) {
    return OleAut32().SysStringLen(text);
}

HRESULT VariantClear(VARIANTARG* value) noexcept {
    const auto& clear = OleAut32().VariantClear;
    return clear ? clear.get()(value) : S_OK;
}

// The SDK declares the sources of these without const, though they only read them.
HRESULT VariantCopy(VARIANTARG* destination, const VARIANTARG* source) {
    return OleAut32().VariantCopy(destination, const_cast<VARIANTARG*>(source));
}

HRESULT VariantCopyInd(VARIANT* destination, const VARIANTARG* source) {
    return OleAut32().VariantCopyInd(destination, const_cast<VARIANTARG*>(source));
}

HRESULT VariantChangeTypeEx(VARIANTARG* destination, const VARIANTARG* source, LCID locale,
                            USHORT flags, VARTYPE type) {
    return OleAut32().VariantChangeTypeEx(destination, const_cast<VARIANTARG*>(source), locale,
                                          flags, type);
}

SAFEARRAY* SafeArrayCreate(VARTYPE elementType, UINT dimensions, SAFEARRAYBOUND* bounds) {
    return OleAut32().SafeArrayCreate(elementType, dimensions, bounds);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) noexcept {
    const auto& destroy = OleAut32().SafeArrayDestroy;
    return destroy ? destroy.get()(array) : S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) {
    return OleAut32().SafeArrayGetDim(array);
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    return OleAut32().SafeArrayAccessData(array, data);
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) noexcept {
    const auto& unaccess = OleAut32().SafeArrayUnaccessData;
    return unaccess ? unaccess.get()(array) : S_OK;
}

}  // namespace registry::automation

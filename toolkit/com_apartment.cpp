#include "toolkit/com_apartment.h"

#include "toolkit/system_functions.h"

namespace toolkit {

bool ComApartment::Open() noexcept {
    if (open_) {
        return true;
    }
    const Ole32Functions& com = Ole32();
    // Only an apartment that can be closed again is opened.
    if (!com.CoUninitialize) {
        return false;
    }
    // S_FALSE (already open on this thread) counts too: every success needs its own close.
    open_ = SUCCEEDED(com.CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)
                          .value_or(E_FAIL));
    return open_;
}

ComApartment::~ComApartment() {
    if (open_) {
        Ole32().CoUninitialize();
    }
}

}  // namespace toolkit

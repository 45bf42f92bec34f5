#include "toolkit/com_apartment.h"

#include "toolkit/system_functions.h"

namespace toolkit {

bool ComApartment::Open() noexcept {
    if (open_) {
        return true;
    }
    const Ole32Functions& com = Ole32();
    if (!com.CoInitializeEx || !com.CoUninitialize) {
        return false;
    }
    // S_FALSE (already open on this thread) counts too: every success needs its own close.
    open_ = SUCCEEDED(
        com.CoInitializeEx.get()(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return open_;
}

ComApartment::~ComApartment() {
    if (open_) {
        Ole32().CoUninitialize.get()();
    }
}

}  // namespace toolkit

#include "toolkit/com_apartment.h"

#include "toolkit/system_library.h"

#include <objbase.h>

namespace toolkit {
namespace {

struct ComFunctions {
    SystemFunction<decltype(&CoInitializeEx)> initialize{L"ole32.dll", "CoInitializeEx"};
    SystemFunction<decltype(&CoUninitialize)> uninitialize{L"ole32.dll", "CoUninitialize"};
};

const ComFunctions& Com() {
    static const ComFunctions functions;
    return functions;
}

}  // namespace

bool ComApartment::Open() noexcept {
    if (open_) {
        return true;
    }
    const ComFunctions& com = Com();
    if (!com.initialize || !com.uninitialize) {
        return false;
    }
    // S_FALSE (already open on this thread) counts too: every success needs its own close.
    open_ =
        SUCCEEDED(com.initialize.get()(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return open_;
}

ComApartment::~ComApartment() {
    if (open_) {
        Com().uninitialize.get()();
    }
}

}  // namespace toolkit

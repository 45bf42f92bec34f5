#pragma once

#include "toolkit/handle.h"
#include "toolkit/run_time_error.h"

#include <windows.h>

#include <type_traits>
#include <utility>

namespace toolkit {

// Loads a DLL from the system folder only, never from the program's folder or the current
// one. Null when it cannot be loaded; GetLastError says why.
UniqueModule LoadSystemLibrary(const wchar_t* fileName) noexcept;

// One function of a system DLL, bound when the table of its DLL is made (system_functions.h).
template <typename Function>
class SystemFunction {
    static_assert(std::is_function_v<std::remove_pointer_t<Function>>,
                  "SystemFunction<decltype(&Name)> takes a function pointer type");

  public:
    // Binds `name` in `library`, a DLL loaded by LoadSystemLibrary (null if that failed).
    SystemFunction(const UniqueModule& library, const char* name) noexcept
        : libraryLoaded_(static_cast<bool>(library)) {
        if (library) {
            // Through void (*)(), the one function pointer type any other converts to and back.
            function_ = reinterpret_cast<Function>(
                reinterpret_cast<void (*)()>(GetProcAddress(library.get(), name)));
        }
    }

    // Whether the DLL and the function were found: callers that must not raise errors (a
    // window procedure answering the system) test this, or get(), first.
    explicit operator bool() const noexcept { return function_ != nullptr; }
    Function get() const noexcept { return function_; }

    // Calls the function; raises "Error in loading DLL" or "Can't find DLL entry point" when
    // the DLL or the function was not found.
    template <typename... Args>
    decltype(auto) operator()(Args&&... args) const {
        if (function_ == nullptr) {
            throw RunTimeError(libraryLoaded_ ? kDllEntryPointNotFound : kErrorLoadingDll);
        }
        return function_(std::forward<Args>(args)...);
    }

  private:
    Function function_ = nullptr;
    bool libraryLoaded_;
};

}  // namespace toolkit

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

// What a call to a function of a system DLL came to: the function's result, or, when the DLL
// or the function is missing and nothing was called, the run-time error that stands for that.
// The caller says which of the two it takes.
template <typename Result>
class SystemCall {
  public:
    explicit SystemCall(Result result) noexcept : result_(result) {}
    static SystemCall Missing(ErrorNumber error) noexcept { return SystemCall(Result{}, error); }

    // The function's result; raises "Error in loading DLL" or "Can't find DLL entry point" when
    // nothing was called.
    Result value() const {
        if (missing_ != 0) {
            throw RunTimeError(missing_);
        }
        return result_;
    }
    // The function's result, or `fallback` when nothing was called: for callers that must not
    // raise errors (a window procedure answering the system, a destructor, a COM method).
    Result value_or(Result fallback) const noexcept { return missing_ == 0 ? result_ : fallback; }

  private:
    SystemCall(Result result, ErrorNumber missing) noexcept : result_(result), missing_(missing) {}

    Result result_;
    long missing_ = 0;
};

// A call to a function that gives nothing back: when it is missing, nothing happens.
template <>
class SystemCall<void> {};

// One function of a system DLL, bound when the table of its DLL is made (system_functions.h).
// A call never raises an error itself; what it gives says what a missing function means to the
// caller (SystemCall).
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

    // Whether the DLL and the function were found.
    explicit operator bool() const noexcept { return function_ != nullptr; }

    // Calls the function when it was found.
    template <typename... Args>
    auto operator()(Args&&... args) const noexcept {
        using Result = std::invoke_result_t<Function, Args...>;
        if constexpr (std::is_void_v<Result>) {
            if (function_ != nullptr) {
                function_(std::forward<Args>(args)...);
            }
            return SystemCall<void>();
        } else {
            if (function_ == nullptr) {
                return SystemCall<Result>::Missing(libraryLoaded_ ? kDllEntryPointNotFound
                                                                  : kErrorLoadingDll);
            }
            return SystemCall<Result>(function_(std::forward<Args>(args)...));
        }
    }

  private:
    Function function_ = nullptr;
    bool libraryLoaded_;
};

}  // namespace toolkit

#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace toolkit {

// Run-time error numbers the program raises or reports.
enum ErrorNumber : long {
    kInvalidProcedureCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kErrorLoadingDll = 48,
    kInternalError = 51,
    kInvalidUseOfNull = 94,
    kInvalidPropertyValue = 380,
    kDllEntryPointNotFound = 453,
};

// The standard English description of a run-time error number ("Type mismatch" for 13);
// "Application-defined or object-defined error" for numbers without one.
std::wstring StandardDescription(long number);

// An error raised by the program: a number and its description. Raised with `throw`; caught
// by an error trap, or by the toolkit's unhandled-error path when it leaves an event handler.
class RunTimeError : public std::runtime_error {
  public:
    explicit RunTimeError(long number);
    RunTimeError(long number, std::wstring description);

    long Number() const noexcept { return number_; }
    const std::wstring& Description() const noexcept { return description_; }

  private:
    long number_;
    std::wstring description_;
};

// Maps an OLE Automation failure code to the run-time error it stands for.
RunTimeError ErrorFromHResult(HRESULT result);

// Inside a catch block: the run-time error that the exception being handled stands for. A
// RunTimeError is itself; an exhausted heap (std::bad_alloc) is "Out of memory" (7); anything
// else is "Internal error" (51). The answer lasts as long as the catch block; it needs no
// memory of its own, so an exhausted heap still has its error.
const RunTimeError& ErrorInFlight() noexcept;

}  // namespace toolkit

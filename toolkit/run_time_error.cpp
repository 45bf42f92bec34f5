#include "toolkit/run_time_error.h"

#include <new>

namespace toolkit {
namespace {

// Made at start, while there is memory for them.
const RunTimeError kHeapExhausted(kOutOfMemory);
const RunTimeError kUnexpectedFailure(kInternalError);

}  // namespace

std::wstring StandardDescription(long number) {
    switch (number) {
        case kInvalidProcedureCall:
            return L"Invalid procedure call or argument";
        case kOverflow:
            return L"Overflow";
        case kOutOfMemory:
            return L"Out of memory";
        case kSubscriptOutOfRange:
            return L"Subscript out of range";
        case kDivisionByZero:
            return L"Division by zero";
        case kTypeMismatch:
            return L"Type mismatch";
        case kErrorLoadingDll:
            return L"Error in loading DLL";
        case kInternalError:
            return L"Internal error";
        case kInvalidUseOfNull:
            return L"Invalid use of Null";
        case kInvalidPropertyValue:
            return L"Invalid property value";
        case kDllEntryPointNotFound:
            return L"Can't find DLL entry point";
        default:
            return L"Application-defined or object-defined error";
    }
}

RunTimeError::RunTimeError(long number) : RunTimeError(number, StandardDescription(number)) {}

RunTimeError::RunTimeError(long number, std::wstring description)
    : std::runtime_error("run-time error " + std::to_string(number)),
      number_(number),
      description_(std::move(description)) {}

RunTimeError ErrorFromHResult(HRESULT result) {
    switch (result) {
        case DISP_E_TYPEMISMATCH:
            return RunTimeError(kTypeMismatch);
        case DISP_E_OVERFLOW:
            return RunTimeError(kOverflow);
        case DISP_E_BADINDEX:
            return RunTimeError(kSubscriptOutOfRange);
        case E_OUTOFMEMORY:
            return RunTimeError(kOutOfMemory);
        case DISP_E_DIVBYZERO:
            return RunTimeError(kDivisionByZero);
        default:
            return RunTimeError(kInvalidProcedureCall);
    }
}

const RunTimeError& ErrorInFlight() noexcept {
    try {
        throw;
    } catch (const RunTimeError& error) {
        // The exception object lives on while the caller's catch block runs.
        return error;
    } catch (const std::bad_alloc&) {
        return kHeapExhausted;
    } catch (...) {
        return kUnexpectedFailure;
    }
}

}  // namespace toolkit

#pragma once

#include "toolkit/system_library.h"

#include <objbase.h>
#include <oleacc.h>
#include <oleauto.h>
#include <shellapi.h>

// The functions of the system DLLs that the program needs only now and then, so that none of
// these DLLs is loaded at start: one table per DLL, made on its first use, which loads the DLL
// from the system folder and binds each of its functions once. The DLL stays loaded from then
// on. Each member bears the name of its function. A call says whether the DLL and the function
// were there: value() gives the function's result and raises "Error in loading DLL" or "Can't
// find DLL entry point" when they were not; value_or() gives the caller's own answer instead,
// for callers that must not raise errors; a call whose result is not taken does nothing then:
//
//   const UINT length = toolkit::OleAut32().SysStringLen(text).value();
//   const UINT dpi = toolkit::User32().GetDpiForWindow(window).value_or(0);
namespace toolkit {

// The one table of each kind, made on first use.
template <typename Table>
const Table& Loaded() {
    static const Table table;
    return table;
}

// COM: the apartment, and cutting off the clients of an object.
struct Ole32Functions {
    UniqueModule library = LoadSystemLibrary(L"ole32.dll");
    SystemFunction<decltype(&::CoInitializeEx)> CoInitializeEx{library, "CoInitializeEx"};
    SystemFunction<decltype(&::CoUninitialize)> CoUninitialize{library, "CoUninitialize"};
    SystemFunction<decltype(&::CoDisconnectObject)> CoDisconnectObject{library,
                                                                       "CoDisconnectObject"};
};
inline const Ole32Functions& Ole32() {
    return Loaded<Ole32Functions>();
}

// OLE Automation: strings, variants and arrays, for the registry routines and the accessible
// object. The program needs them only for Apply and for assistive technology: loading oleaut32
// (with the COM libraries it pulls in) at start would slow every start.
struct OleAut32Functions {
    UniqueModule library = LoadSystemLibrary(L"oleaut32.dll");
    SystemFunction<decltype(&::SysAllocStringLen)> SysAllocStringLen{library, "SysAllocStringLen"};
    SystemFunction<decltype(&::SysStringLen)> SysStringLen{library, "SysStringLen"};
    SystemFunction<decltype(&::VariantClear)> VariantClear{library, "VariantClear"};
    SystemFunction<decltype(&::VariantCopy)> VariantCopy{library, "VariantCopy"};
    SystemFunction<decltype(&::VariantCopyInd)> VariantCopyInd{library, "VariantCopyInd"};
    SystemFunction<decltype(&::VariantChangeTypeEx)> VariantChangeTypeEx{library,
                                                                         "VariantChangeTypeEx"};
    SystemFunction<decltype(&::SafeArrayCreate)> SafeArrayCreate{library, "SafeArrayCreate"};
    SystemFunction<decltype(&::SafeArrayDestroy)> SafeArrayDestroy{library, "SafeArrayDestroy"};
    SystemFunction<decltype(&::SafeArrayGetDim)> SafeArrayGetDim{library, "SafeArrayGetDim"};
    SystemFunction<decltype(&::SafeArrayAccessData)> SafeArrayAccessData{library,
                                                                         "SafeArrayAccessData"};
    SystemFunction<decltype(&::SafeArrayUnaccessData)> SafeArrayUnaccessData{
        library, "SafeArrayUnaccessData"};
};
inline const OleAut32Functions& OleAut32() {
    return Loaded<OleAut32Functions>();
}

// Accessibility: handing an object to a client, and the system's objects for windows.
struct OleAccFunctions {
    UniqueModule library = LoadSystemLibrary(L"oleacc.dll");
    SystemFunction<decltype(&::LresultFromObject)> LresultFromObject{library, "LresultFromObject"};
    SystemFunction<decltype(&::CreateStdAccessibleObject)> CreateStdAccessibleObject{
        library, "CreateStdAccessibleObject"};
};
inline const OleAccFunctions& OleAcc() {
    return Loaded<OleAccFunctions>();
}

// ntdll's RtlDecompressBuffer, which the SDK declares only for drivers.
using RtlDecompressBufferFunction = LONG(NTAPI*)(USHORT format, PUCHAR uncompressed,
                                                 ULONG uncompressedSize, PUCHAR compressed,
                                                 ULONG compressedSize,
                                                 PULONG finalUncompressedSize);

// The native API: decompressing the pictures the program carries. ntdll is in every process, so
// this table loads nothing.
struct NtDllFunctions {
    UniqueModule library = LoadSystemLibrary(L"ntdll.dll");
    SystemFunction<RtlDecompressBufferFunction> RtlDecompressBuffer{library, "RtlDecompressBuffer"};
};
inline const NtDllFunctions& NtDll() {
    return Loaded<NtDllFunctions>();
}

// Windows 10's scale of each monitor, which older Windows lack: user32 is loaded in every GUI
// process, so this table loads nothing. The SDK declares these only for programs that require
// Windows 10, which this one does not.
struct User32Functions {
    UniqueModule library = LoadSystemLibrary(L"user32.dll");
    SystemFunction<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT)> SetProcessDpiAwarenessContext{
        library, "SetProcessDpiAwarenessContext"};
    SystemFunction<UINT(WINAPI*)(HWND)> GetDpiForWindow{library, "GetDpiForWindow"};
    SystemFunction<DPI_AWARENESS_CONTEXT(WINAPI*)(HWND)> GetWindowDpiAwarenessContext{
        library, "GetWindowDpiAwarenessContext"};
    SystemFunction<DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT)>
        GetAwarenessFromDpiAwarenessContext{library, "GetAwarenessFromDpiAwarenessContext"};
};
inline const User32Functions& User32() {
    return Loaded<User32Functions>();
}

// The shell: opening a web address in the user's browser.
struct Shell32Functions {
    UniqueModule library = LoadSystemLibrary(L"shell32.dll");
    SystemFunction<decltype(&::ShellExecuteW)> ShellExecuteW{library, "ShellExecuteW"};
};
inline const Shell32Functions& Shell32() {
    return Loaded<Shell32Functions>();
}

}  // namespace toolkit

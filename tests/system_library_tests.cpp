// Functions of system DLLs loaded on first use, and the COM apartment opened on first need.
#include "test_support.h"
#include "toolkit/com_apartment.h"
#include "toolkit/system_library.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using GetTickCountFunction = decltype(&GetTickCount);

// The file name of the running test executable, which lies beside it and nowhere else.
std::wstring OwnFileName() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, length);
    return full.substr(full.find_last_of(L'\\') + 1);
}

TEST(SystemFunction, IsFoundOnlyInTheSystemFolder) {
    struct Case {
        std::wstring library;
        const char* function;
        long error;  // 0: found and callable
    };
    const std::vector<Case> cases{
        {L"kernel32.dll", "GetTickCount", 0},
        {L"kernel32.dll", "NoSuchFunction", toolkit::kDllEntryPointNotFound},
        {L"no-such-library.dll", "GetTickCount", toolkit::kErrorLoadingDll},
        // Found by a plain LoadLibrary in the program's folder; a planted DLL would be too.
        {OwnFileName(), "GetTickCount", toolkit::kErrorLoadingDll},
    };
    for (const auto& [library, function, error] : cases) {
        SCOPED_TRACE(std::string(library.begin(), library.end()) + " " + function);
        const toolkit::UniqueModule module = toolkit::LoadSystemLibrary(library.c_str());
        const toolkit::SystemFunction<GetTickCountFunction> loaded(module, function);
        EXPECT_EQ(static_cast<bool>(loaded), error == 0);
        if (error == 0) {
            EXPECT_NE(loaded().value(), 0u);
            continue;
        }
        EXPECT_EQ(loaded().value_or(7u), 7u);
        try {
            loaded().value();
            ADD_FAILURE() << "no error raised";
        } catch (const toolkit::RunTimeError& raised) {
            EXPECT_EQ(raised.Number(), error);
            EXPECT_EQ(raised.Description(), error == toolkit::kErrorLoadingDll
                                                ? L"Error in loading DLL"
                                                : L"Can't find DLL entry point");
        }
    }
}

// What CoInitializeEx says on a thread: S_OK when no apartment was open, S_FALSE when one of
// that kind was, RPC_E_CHANGED_MODE when one of the other kind was. Closes what it opened.
HRESULT ProbeApartment(DWORD model) {
    const HRESULT result = CoInitializeEx(nullptr, model);
    if (SUCCEEDED(result)) {
        CoUninitialize();
    }
    return result;
}

TEST(ComApartment, IsOpenedOnceAndClosedByItsOwnerOnly) {
    constexpr DWORD kNone = ~0u;  // COINIT_MULTITHREADED is 0
    struct Case {
        const char* name;
        DWORD modelBefore;  // the apartment the thread is in before the owner opens one
        bool opens;
        HRESULT afterOwner;  // a single-threaded probe once the owner is gone
    };
    const std::vector<Case> cases{
        {"fresh thread", kNone, true, S_OK},
        {"already single-threaded", COINIT_APARTMENTTHREADED, true, S_FALSE},
        {"already multithreaded", COINIT_MULTITHREADED, false, RPC_E_CHANGED_MODE},
    };
    for (const auto& [name, modelBefore, opens, afterOwner] : cases) {
        SCOPED_TRACE(name);
        // Each case on a thread of its own, so that no apartment carries over.
        std::thread([&, modelBefore = modelBefore, opens = opens, afterOwner = afterOwner] {
            if (modelBefore != kNone) {
                ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, modelBefore)));
            }
            {
                toolkit::ComApartment apartment;
                EXPECT_EQ(apartment.Open(), opens);
                EXPECT_EQ(apartment.Open(), opens);  // a second Open opens nothing more
                if (opens) {
                    EXPECT_EQ(ProbeApartment(COINIT_APARTMENTTHREADED), S_FALSE);
                }
            }
            EXPECT_EQ(ProbeApartment(COINIT_APARTMENTTHREADED), afterOwner);
            if (modelBefore != kNone) {
                CoUninitialize();
            }
        }).join();
    }
}

}  // namespace

#include "toolkit/system_library.h"

#include <string>

namespace toolkit {

UniqueModule LoadSystemLibrary(const wchar_t* fileName) noexcept {
    // A full path keeps the search away from the program's folder, where a planted DLL of the
    // same name would otherwise be found first; it works on every Windows version, unlike the
    // LOAD_LIBRARY_SEARCH_* flags. The DLLs it needs in turn are then looked for beside it.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return UniqueModule();
    }
    try {
        const std::wstring path = std::wstring(folder, length) + L'\\' + fileName;
        return UniqueModule(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return UniqueModule();
    }
}

}  // namespace toolkit

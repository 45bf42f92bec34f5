# Checks the built program's file headers: a 64-bit PE with the GUI subsystem whose import
# table names only DLLs that every Windows system has, so it runs without DLLs of its own, and
# none of the DLLs it loads on first use (LOADED_ON_USE), so that they cost nothing at start.
#
#   cmake -DOBJDUMP=<x86_64-w64-mingw32-objdump> -DEXE=<BrevaneTwinova.exe>
#         [-DLOADED_ON_USE=a.dll,b.dll] -P check_imports.cmake

# A list passed through add_test would lose its semicolons: the names come comma-separated.
string(REPLACE "," ";" LOADED_ON_USE "${LOADED_ON_USE}")

set(system_dlls
    advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ntdll.dll
    ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll)

execute_process(COMMAND "${OBJDUMP}" -p "${EXE}" OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "objdump could not read ${EXE}")
endif()

if(NOT dump MATCHES "file format pei-x86-64" OR NOT dump MATCHES "Magic[ \t]+020b")
    message(FATAL_ERROR "${EXE} is not a 64-bit (PE32+) executable")
endif()
if(NOT dump MATCHES "Subsystem[ \t]+00000002")
    message(FATAL_ERROR "${EXE} is not a GUI-subsystem program")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
if(NOT lines)
    message(FATAL_ERROR "no imported DLLs found in ${EXE}")
endif()
set(imported "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "DLL Name: " "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" name)
    list(APPEND imported "${dll}")
    list(FIND LOADED_ON_USE "${name}" deferred)
    if(NOT deferred EQUAL -1)
        message(FATAL_ERROR "${EXE} imports ${dll}, which it should load only when first used")
    endif()
    list(FIND system_dlls "${name}" known)
    if(known EQUAL -1 AND NOT name MATCHES "^api-ms-win-[a-z0-9-]+\\.dll$")
        message(FATAL_ERROR "${EXE} imports ${dll}, which is not a Windows system DLL")
    endif()
endforeach()
message(STATUS "64-bit GUI program importing only system DLLs: ${imported}")

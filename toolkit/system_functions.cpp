#include "toolkit/system_functions.h"

namespace toolkit {

const Ole32Functions& Ole32() {
    static const Ole32Functions functions;
    return functions;
}

const OleAut32Functions& OleAut32() {
    static const OleAut32Functions functions;
    return functions;
}

const OleAccFunctions& OleAcc() {
    static const OleAccFunctions functions;
    return functions;
}

const NtDllFunctions& NtDll() {
    static const NtDllFunctions functions;
    return functions;
}

const Shell32Functions& Shell32() {
    static const Shell32Functions functions;
    return functions;
}

}  // namespace toolkit

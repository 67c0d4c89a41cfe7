// SPDX-License-Identifier: GPL-3.0-or-later
#include "CupsLibrary.h"

#include <dlfcn.h>

namespace {

// The soname of Debian's libcups2; the library keeps its ABI under it.
constexpr const char *LibraryName = "libcups.so.2";

template<typename Function>
bool bind(void *handle, const char *name, Function &entry)
{
    entry = reinterpret_cast<Function>(dlsym(handle, name));
    return entry != nullptr;
}

} // namespace

bool CupsLibrary::resolve(void *handle)
{
    return bind(handle, "cupsDoRequest", cupsDoRequest) && bind(handle, "cupsEncryption", cupsEncryption)
        && bind(handle, "cupsFreeDests", cupsFreeDests) && bind(handle, "cupsGetDests2", cupsGetDests2)
        && bind(handle, "cupsGetFd", cupsGetFd) && bind(handle, "cupsGetNamedDest", cupsGetNamedDest)
        && bind(handle, "cupsLastError", cupsLastError) && bind(handle, "cupsServer", cupsServer)
        && bind(handle, "cupsSetPasswordCB2", cupsSetPasswordCB2) && bind(handle, "httpAssembleURIf", httpAssembleURIf)
        && bind(handle, "httpClose", httpClose) && bind(handle, "httpConnect2", httpConnect2)
        && bind(handle, "httpSetTimeout", httpSetTimeout) && bind(handle, "ippAddString", ippAddString)
        && bind(handle, "ippAddStrings", ippAddStrings) && bind(handle, "ippDelete", ippDelete)
        && bind(handle, "ippFindAttribute", ippFindAttribute) && bind(handle, "ippGetBoolean", ippGetBoolean)
        && bind(handle, "ippGetInteger", ippGetInteger) && bind(handle, "ippGetResolution", ippGetResolution)
        && bind(handle, "ippGetString", ippGetString) && bind(handle, "ippNewRequest", ippNewRequest)
        && bind(handle, "ippPort", ippPort);
}

const CupsLibrary *CupsLibrary::instance()
{
    // Loaded once and kept for the life of the process, as a linked library would be.
    static const CupsLibrary *const library = []() -> const CupsLibrary * {
        void *handle = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return nullptr;
        static CupsLibrary loaded;
        return loaded.resolve(handle) ? &loaded : nullptr;
    }();
    return library;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cups/cups.h>

// libcups, opened on first use instead of at start-up: it brings a TLS and
// Kerberos stack that would otherwise add to every start of the program,
// while the printer page first asks a second after the window shows.
// The entry points keep the library's own names and types.
class CupsLibrary
{
public:
    // nullptr where libcups cannot be loaded: then there are no printers.
    static const CupsLibrary *instance();

    decltype(&::cupsDoRequest) cupsDoRequest = nullptr;
    decltype(&::cupsEncryption) cupsEncryption = nullptr;
    decltype(&::cupsFreeDests) cupsFreeDests = nullptr;
    decltype(&::cupsGetDests2) cupsGetDests2 = nullptr;
    decltype(&::cupsGetFd) cupsGetFd = nullptr;
    decltype(&::cupsGetNamedDest) cupsGetNamedDest = nullptr;
    decltype(&::cupsLastError) cupsLastError = nullptr;
    decltype(&::cupsServer) cupsServer = nullptr;
    decltype(&::cupsSetPasswordCB2) cupsSetPasswordCB2 = nullptr;
    decltype(&::httpAssembleURIf) httpAssembleURIf = nullptr;
    decltype(&::httpClose) httpClose = nullptr;
    decltype(&::httpConnect2) httpConnect2 = nullptr;
    decltype(&::httpSetTimeout) httpSetTimeout = nullptr;
    decltype(&::ippAddString) ippAddString = nullptr;
    decltype(&::ippAddStrings) ippAddStrings = nullptr;
    decltype(&::ippDelete) ippDelete = nullptr;
    decltype(&::ippFindAttribute) ippFindAttribute = nullptr;
    decltype(&::ippGetBoolean) ippGetBoolean = nullptr;
    decltype(&::ippGetInteger) ippGetInteger = nullptr;
    decltype(&::ippGetResolution) ippGetResolution = nullptr;
    decltype(&::ippGetString) ippGetString = nullptr;
    decltype(&::ippNewRequest) ippNewRequest = nullptr;
    decltype(&::ippPort) ippPort = nullptr;

private:
    CupsLibrary() = default;
    bool resolve(void *handle);
};

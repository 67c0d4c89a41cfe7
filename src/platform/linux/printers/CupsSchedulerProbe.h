// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether a CUPS scheduler may answer, found without libcups: the library
// brings a TLS and Kerberos stack of several megabytes that a machine without
// a scheduler has no use for. It looks where libcups looks for its server:
// CUPS_SERVER, the client.conf files, the scheduler's local socket, then the
// IPP port of this machine.
class CupsSchedulerProbe
{
public:
    struct Places
    {
        QString serverRoot; // where the system's client.conf lives
        QString userDirectory; // where the user's client.conf lives
        QString localSocket; // the scheduler's own socket
        quint16 ippPort = 0; // on this machine
    };

    // The places libcups uses, from the environment as it reads it.
    static Places systemPlaces();

    explicit CupsSchedulerProbe(Places places);

    // False only where libcups could find no scheduler either.
    bool mayAnswer() const;

private:
    bool isConfigured() const;
    bool acceptsLocalConnections() const;

    Places m_places;
};

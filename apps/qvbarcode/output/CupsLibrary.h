// SPDX-License-Identifier: MIT
#pragma once

#include <cups/cups.h>

#include <string>

namespace qv::cli {

// The calls of libcups that printing makes. The library is loaded only when a job is
// printed: linked, its own libraries (TLS, Kerberos, service discovery) would double what
// every run of the program loads, and a run under an address-space limit would not start.
struct CupsLibrary {
    decltype(&::cupsGetNamedDest) getNamedDest;
    decltype(&::cupsFreeDests) freeDests;
    decltype(&::cupsAddOption) addOption;
    decltype(&::cupsFreeOptions) freeOptions;
    decltype(&::cupsServer) server;
    decltype(&::ippPort) port;
    decltype(&::cupsEncryption) encryption;
    decltype(&::httpConnect2) connect;
    decltype(&::httpClose) close;
    decltype(&::cupsLastErrorString) lastErrorString;
    decltype(&::cupsCreateJob) createJob;
    decltype(&::cupsStartDocument) startDocument;
    decltype(&::cupsWriteRequestData) writeRequestData;
    decltype(&::cupsFinishDocument) finishDocument;
    decltype(&::cupsCancelJob2) cancelJob;
};

// The library, loaded on the first call and kept; nullptr when it cannot be loaded, with
// the reason in why.
const CupsLibrary* LoadCups(std::string& why);

}  // namespace qv::cli

// SPDX-License-Identifier: MIT
#include "output/CupsLibrary.h"

#include <dlfcn.h>

namespace qv::cli {

namespace {

struct Loaded {
    CupsLibrary calls{};
    std::string failure;
};

template <typename Call>
void Find(void* library, const char* name, Call& call, std::string& failure) {
    call = reinterpret_cast<Call>(dlsym(library, name));
    if (call == nullptr && failure.empty()) failure = std::string("libcups lacks ") + name;
}

Loaded Load() {
    Loaded loaded;
    // Kept for the rest of the run: its calls may be made until the program ends.
    void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* error = dlerror();
        loaded.failure = std::string("cannot load the print library: ") +
                         (error != nullptr ? error : "libcups.so.2");
        return loaded;
    }
    CupsLibrary& c = loaded.calls;
    std::string& f = loaded.failure;
    Find(library, "cupsGetNamedDest", c.getNamedDest, f);
    Find(library, "cupsFreeDests", c.freeDests, f);
    Find(library, "cupsAddOption", c.addOption, f);
    Find(library, "cupsFreeOptions", c.freeOptions, f);
    Find(library, "cupsServer", c.server, f);
    Find(library, "ippPort", c.port, f);
    Find(library, "cupsEncryption", c.encryption, f);
    Find(library, "httpConnect2", c.connect, f);
    Find(library, "httpClose", c.close, f);
    Find(library, "cupsLastErrorString", c.lastErrorString, f);
    Find(library, "cupsCreateJob", c.createJob, f);
    Find(library, "cupsStartDocument", c.startDocument, f);
    Find(library, "cupsWriteRequestData", c.writeRequestData, f);
    Find(library, "cupsFinishDocument", c.finishDocument, f);
    Find(library, "cupsCancelJob2", c.cancelJob, f);
    return loaded;
}

}  // namespace

const CupsLibrary* LoadCups(std::string& why) {
    static const Loaded loaded = Load();
    why = loaded.failure;
    return loaded.failure.empty() ? &loaded.calls : nullptr;
}

}  // namespace qv::cli

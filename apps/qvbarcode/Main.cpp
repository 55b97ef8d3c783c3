// SPDX-License-Identifier: MIT
// qvbarcode: draws barcodes with the control and writes them as pictures.
#include <malloc.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <qvbarcode/component/TypeLibraryIdl.h>
#include <qvbarcode/imagefile/AtomicFile.h>
#include "commands/Commands.h"
#include "commands/ParseArguments.h"
#include "commands/PrintedDocument.h"
#include "options/ExitStatus.h"
#include "options/TerminalText.h"
#include "options/UsageText.h"

namespace {

// Ended by a signal mid-write: remove the half-written temporary, then end as the signal
// would have ended the program.
extern "C" void EndOnSignal(int signal) {
    qv::imagefile::RemoveUnfinishedFile();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void RemoveUnfinishedFilesOnSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(signal, EndOnSignal);
    // A file over the size limit (ulimit -f) fails its write with EFBIG, which the program
    // reports, instead of ending it without a word.
    std::signal(SIGXFSZ, SIG_IGN);
}

// Every file of a batch frees and takes back the same few hundred kilobytes (pixels, the
// encoder's state); handing them back to the system each time costs more in page faults
// than drawing the file. Large blocks still come from and go back to the system whole.
void KeepFreedMemoryForReuse() {
    mallopt(M_TRIM_THRESHOLD, 16 << 20);
}

}  // namespace

// Whatever a command lets out still ends the program with its status and a message, never
// in an abort: memory running out outside the drawing (reading an --onto picture, in a task
// of the batch's writer), or a failed call the commands do not catch.
int main(int argc, char** argv) try {
    using namespace qv::cli;
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParseResult parsed = ParseArguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "qvbarcode: %s\n%.*s", TerminalText(error->message).c_str(),
                     static_cast<int>(UsageText().size()), UsageText().data());
        return kExitUsage;
    }
    // A document printed without -o is written into a folder of its own, removed after.
    const PrintSpool spool(std::get<Options>(parsed));
    const Options& options = spool.Command();
    RemoveUnfinishedFilesOnSignals();
    KeepFreedMemoryForReuse();
    switch (options.command) {
        case Command::Help:
            std::fwrite(HelpText().data(), 1, HelpText().size(), stdout);
            return kExitDrawn;
        case Command::Version:
            std::fwrite(VersionText().data(), 1, VersionText().size(), stdout);
            return kExitDrawn;
        case Command::TypeLibrary: {
            const std::string idl = qv::component::TypeLibraryIdl();
            std::fwrite(idl.data(), 1, idl.size(), stdout);
            return kExitDrawn;
        }
        case Command::Batch:
            return RunBatch(options);
        case Command::ListSheets:
            return ListSheets();
        case Command::Render:
            break;
    }
    return RunSingle(options);
} catch (const std::bad_alloc&) {
    std::fputs("qvbarcode: failed call: out of memory\n", stderr);
    return qv::cli::kExitFailedCall;
} catch (const std::exception& failure) {
    std::fprintf(stderr, "qvbarcode: failed call: %s\n",
                 qv::cli::TerminalText(failure.what()).c_str());
    return qv::cli::kExitFailedCall;
}

// SPDX-License-Identifier: MIT
#pragma once

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <regex>
#include <set>
#include <thread>

#include "ProgramRun.h"

namespace qv::cli::test {

// A print server of the test's own: cupsd on a socket in a scratch folder, with the default
// queue "labels" printing into PDF files in out/ through cups-pdf, copies as pages. All of
// it is in the folder but cups-pdf's settings, which that backend reads only from /etc/cups:
// a file named for this server, removed with it. CUPS_SERVER points this process and the
// programs it runs at the server while it is there.
class PrintServer {
  public:
    PrintServer() {
        const std::string setup = R"(mkdir -p conf spool cache state log out pdf
chmod 755 . && chmod 1777 out
printf 'Listen @/cups.sock\nBrowsing No\nDefaultAuthType None\n<Location />\nAllow all\n</Location>\n' >conf/cupsd.conf
printf 'ServerRoot @/conf\nRequestRoot @/spool\nCacheDir @/cache\nStateDir @/state\nErrorLog @/log/error_log\nUser lp\nGroup lp\n' >conf/cups-files.conf
printf 'Out @/out\nAnonDirName @/out\nSpool @/pdf\nUserPrefix\n' >'&'
sed 's/^[*]HWMargins/*cupsManualCopies: True\n&/' /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >conf/labels.ppd
/usr/sbin/cupsd -f -c @/conf/cupsd.conf -s @/conf/cups-files.conf >/dev/null 2>&1 & echo $! >cupsd.pid
export CUPS_SERVER=@/cups.sock
for i in $(seq 100); do lpstat -r 2>&1 | grep -q 'is running' && break; sleep 0.1; done
for i in $(seq 20); do lpadmin -p labels -E -v cups-pdf:/%% -P conf/labels.ppd 2>/dev/null && break; sleep 0.2; done
lpadmin -d labels)";
        const std::string script = std::regex_replace(
            std::regex_replace(std::regex_replace(setup, std::regex("@"), dir.path.string()),
                               std::regex("&'"), settings_.string() + "'"),
            std::regex("%%"), name_);
        const ProgramRun run = RunShell(dir, script);
        cupsd_ = std::atoi(FileText(dir / "cupsd.pid").c_str());
        setenv("CUPS_SERVER", (dir / "cups.sock").c_str(), 1);
        if (run.status != 0) failure = run.err + FileText(dir / "log/error_log");
    }
    // Once the jobs sent are done, so that no backend writes into a folder removed.
    ~PrintServer() {
        if (failure.empty()) WaitForPdfs(0);
        if (cupsd_ > 0 && kill(cupsd_, SIGTERM) == 0) {
            // Not this process's child: gone once kill finds it no more (or a zombie, for 5 s).
            for (int tries = 0; tries < 250 && kill(cupsd_, 0) == 0; ++tries) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        unsetenv("CUPS_SERVER");
        std::filesystem::remove(settings_);
    }
    PrintServer(const PrintServer&) = delete;

    // The PDF files the queue wrote, once count of them are there and no job is left.
    std::vector<std::filesystem::path> WaitForPdfs(std::size_t count) const {
        std::vector<std::filesystem::path> files;
        for (int tries = 0; tries < 600; ++tries) {
            files.clear();
            for (const auto& entry : std::filesystem::directory_iterator(dir / "out")) {
                if (entry.path().extension() == ".pdf") files.push_back(entry.path());
            }
            if (files.size() >= count && std::system("test -z \"$(lpstat -o)\"") == 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return files;
    }

    // The next PDF file the queue writes, once it is there and no job is left; none if none.
    std::filesystem::path NextPdf() {
        for (const auto& file : WaitForPdfs(seen_.size() + 1)) {
            if (seen_.insert(file).second) return file;
        }
        return {};
    }

    const ScratchDirectory dir;
    std::string failure;  // why the server or its queue is not there

  private:
    const std::string name_ = "qvtest" + std::to_string(getpid());
    const std::filesystem::path settings_ = "/etc/cups/cups-pdf-" + name_ + ".conf";
    pid_t cupsd_ = -1;
    std::set<std::filesystem::path> seen_;
};

}  // namespace qv::cli::test

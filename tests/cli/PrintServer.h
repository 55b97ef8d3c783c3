// SPDX-License-Identifier: MIT
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ProgramRun.h"

extern char** environ;

namespace qv::cli::test {

// A print server of the test's own: cupsd listening on a socket in a scratch folder, with
// the queue "labels", the default, printing into PDF files through cups-pdf, copies as
// pages. Everything is
// in the folder but cups-pdf's settings, which that backend reads only from /etc/cups: a
// file named for this server, removed with it. CUPS_SERVER points this process and the
// programs it starts at the server while it runs.
class PrintServer {
  public:
    PrintServer() : name_("qvtest" + std::to_string(getpid())) {
        const std::string root = dir.path.string();
        for (const char* sub : {"conf", "spool", "cache", "state", "log", "out", "pdf"}) {
            std::filesystem::create_directories(dir / sub);
        }
        std::filesystem::permissions(dir.path, std::filesystem::perms(0755));
        std::filesystem::permissions(dir / "out", std::filesystem::perms(01777));
        std::ofstream(dir / "conf/cupsd.conf")
            << "Listen " << root << "/cups.sock\nWebInterface No\nBrowsing No\n"
            << "DefaultAuthType None\n<Location />\nOrder allow,deny\nAllow all\n</Location>\n";
        std::ofstream(dir / "conf/cups-files.conf")
            << "ServerRoot " << root << "/conf\nRequestRoot " << root << "/spool\nCacheDir " << root
            << "/cache\nStateDir " << root << "/state\nErrorLog " << root
            << "/log/error_log\nAccessLog " << root << "/log/access_log\nPageLog " << root
            << "/log/page_log\nUser lp\nGroup lp\n";
        std::ofstream(CupsPdfSettings()) << "Out " << root << "/out\nAnonDirName " << root
                                         << "/out\nSpool " << root << "/pdf\nUserPrefix\n";
        const std::string conf = root + "/conf/";
        const std::vector<std::string> arguments{
            "cupsd", "-f", "-c", conf + "cupsd.conf", "-s", conf + "cups-files.conf"};
        std::vector<char*> argv;
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&cupsd_, "/usr/sbin/cupsd", nullptr, nullptr, argv.data(), environ) != 0) {
            cupsd_ = -1;
            failure = "cupsd did not start";
            return;
        }
        setenv("CUPS_SERVER", (root + "/cups.sock").c_str(), 1);
        if (!Until([] { return std::system("lpstat -r >/dev/null 2>&1") == 0; })) {
            failure = "cupsd does not answer: " + FileText(root + "/log/error_log");
            return;
        }
        // Its driver file, but with copies made by the server's filters, as pages.
        const std::string add =
            "sed 's/^[*]HWMargins/*cupsManualCopies: True\\n&/' "
            "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >'" +
            conf +
            "labels.ppd' && "
            "lpadmin -p labels -E -v cups-pdf:/" +
            name_ + " -P '" + conf + "labels.ppd' 2>/dev/null && lpadmin -d labels";
        if (std::system(add.c_str()) != 0) failure = "lpadmin could not add the queue";
    }
    // Once the jobs sent are done, so that no backend writes into a folder removed.
    ~PrintServer() {
        if (failure.empty()) WaitForPdfs(0);
        if (cupsd_ > 0) {
            kill(cupsd_, SIGTERM);
            waitpid(cupsd_, nullptr, 0);
        }
        unsetenv("CUPS_SERVER");
        std::error_code ignored;
        std::filesystem::remove(CupsPdfSettings(), ignored);
    }
    PrintServer(const PrintServer&) = delete;

    // The PDF files the queue wrote, once count of them are there and no job is left.
    std::vector<std::filesystem::path> WaitForPdfs(std::size_t count) const {
        std::vector<std::filesystem::path> files;
        Until([&] {
            files.clear();
            for (const auto& entry : std::filesystem::directory_iterator(dir / "out")) {
                if (entry.path().extension() == ".pdf") files.push_back(entry.path());
            }
            return files.size() >= count && std::system("test -z \"$(lpstat -o)\"") == 0;
        });
        return files;
    }

    const ScratchDirectory dir;
    std::string failure;  // why the server or its queue is not there

  private:
    std::filesystem::path CupsPdfSettings() const {
        return "/etc/cups/cups-pdf-" + name_ + ".conf";
    }
    template <typename Done>
    static bool Until(Done done) {
        for (int tries = 0; tries < 600; ++tries) {
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    std::string name_;
    pid_t cupsd_ = -1;
};

}  // namespace qv::cli::test

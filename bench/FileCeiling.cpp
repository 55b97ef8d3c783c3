// SPDX-License-Identifier: MIT
// The ceiling of a batch: COUNT files of SIZE bytes created and written in a plain loop
// (open, write, close), nothing drawn or encoded. compare.sh runs it beside the programs, and
// with SYNC to weigh the ways of putting a batch's files on disk: "fsync" syncs each file and
// then the folder, "syncfs" syncs the file system once at the end ("none", the default, syncs
// nothing).
//
//   bench_file_ceiling FOLDER COUNT SIZE [none|fsync|syncfs]
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::string sync = argc == 5 ? argv[4] : "none";
    if ((argc != 4 && argc != 5) || (sync != "none" && sync != "fsync" && sync != "syncfs")) {
        std::fprintf(stderr, "usage: bench_file_ceiling FOLDER COUNT SIZE [none|fsync|syncfs]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const long count = std::atol(argv[2]);
    const std::vector<char> bytes(static_cast<std::size_t>(std::atol(argv[3])), 'x');
    char leaf[32];
    for (long i = 1; i <= count; ++i) {
        std::snprintf(leaf, sizeof leaf, "/%05ld.png", i);
        const std::string path = folder + leaf;
        const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (file < 0 ||
            write(file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            (sync == "fsync" && fsync(file) != 0) || close(file) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    const int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0 || (sync == "fsync" && fsync(directory) != 0) ||
        (sync == "syncfs" && syncfs(directory) != 0)) {
        std::perror(folder.c_str());
        return 1;
    }
    close(directory);
    return 0;
}

// SPDX-License-Identifier: MIT
// The ceiling of a batch: COUNT files of SIZE bytes created and written in a plain loop
// (open, write, close), nothing drawn or encoded. compare.sh runs it beside the programs.
//
//   bench_file_ceiling FOLDER COUNT SIZE
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_file_ceiling FOLDER COUNT SIZE\n");
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
            close(file) != 0) {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}

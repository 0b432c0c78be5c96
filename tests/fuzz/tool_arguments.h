// The argument check shared by the small programs of the test tree: each
// answers --help, and none takes an option-like word for a file name, so a
// mistyped option never becomes a folder of written files.
#pragma once

#include <cstdio>
#include <cstring>

// Returns -1 when the program should go on, else its exit status. The
// first `named` arguments are the program's own (file names, counts); with
// `more`, further ones are passed on untouched (another program's options).
inline int CheckToolArguments(int argc, char** argv, const char* usage, int named,
                              bool more = false) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: %s\n", usage);
        return 0;
    }
    bool fits = more ? argc > named : argc == named + 1;
    for (int i = 1; fits && i <= named; ++i)
        fits = argv[i][0] != '-' && argv[i][0] != '\0';
    if (fits) return -1;
    std::fprintf(stderr, "usage: %s\n", usage);
    return 2;
}

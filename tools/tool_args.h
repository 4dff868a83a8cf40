// What every command-line program of the suite does with its arguments before it acts
// on any: "--help" or "-h" prints the usage on standard output, and the program ends
// with 0; a word that starts with '-' and is none of the program's options (nor one of
// the values that follow an option) is refused with the usage on standard error, and
// the program ends with 2. So an option, known or not, is never taken for a file name,
// and a refused command line writes nothing.
#pragma once

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace wv::tools {

struct ToolOption {
    const char* name;  // as typed: "--threads"
    int values = 0;    // how many words after it belong to it
};

// -1 when the program may go on with its arguments, else the exit code it ends with.
// `usage` is the whole text, ending in a line break.
inline int CheckToolArgs(int argc, char** argv, const char* usage, std::initializer_list<ToolOption> options = {}) {
    for (int a = 1; a < argc; ++a)
        if (std::strcmp(argv[a], "--help") == 0 || std::strcmp(argv[a], "-h") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
    const char* program = argc > 0 && argv[0] ? argv[0] : "";
    if (const char* slash = std::strrchr(program, '/')) program = slash + 1;
    for (int a = 1; a < argc; ++a) {
        if (argv[a][0] != '-') continue;
        const ToolOption* known = nullptr;
        for (const ToolOption& o : options)
            if (std::strcmp(argv[a], o.name) == 0) known = &o;
        if (!known) {
            std::fprintf(stderr, "%s: unknown option %s\n", program, argv[a]);
            std::fputs(usage, stderr);
            return 2;
        }
        if (a + known->values >= argc) {
            std::fprintf(stderr, "%s: %s wants %d value%s\n", program, argv[a], known->values,
                         known->values == 1 ? "" : "s");
            std::fputs(usage, stderr);
            return 2;
        }
        a += known->values;
    }
    return -1;
}

}  // namespace wv::tools

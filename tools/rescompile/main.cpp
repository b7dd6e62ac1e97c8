// qzrescompile OUTPUT SOURCE...: compiles resource sources into a resource
// file; on a bad source prints "file:line: message" and fails.
#include <cstdio>

#include "tools/rescompile/ResourceCompiler.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: qzrescompile OUTPUT SOURCE...\n");
        return 2;
    }
    std::vector<std::string> sources(argv + 2, argv + argc);
    std::string error;
    if (!rescompile::CompileFiles(sources, argv[1], &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}

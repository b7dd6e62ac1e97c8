// qzdocbuild DESCRIPTION FOLDER: writes the document a description
// describes into FOLDER, or says which line it refuses and writes nothing.
#include <cstdio>
#include <filesystem>
#include <new>

#include "tools/docbuilder/DocBuilder.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: qzdocbuild DESCRIPTION FOLDER\n");
        return 2;
    }
    try {
        // File specifications are absolute paths.
        std::error_code ec;
        const std::string description = std::filesystem::absolute(argv[1], ec).string();
        const std::string folder = std::filesystem::absolute(argv[2], ec).lexically_normal().string();
        const docbuilder::BuildResult r =
            docbuilder::BuildDocumentFile(description, folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder);
        if (r.error) {
            std::fprintf(stderr, "qzdocbuild: %s (%d)\n", r.message.c_str(), int(r.error));
            return 1;
        }
        std::printf("%s\n%s\n%s\n", r.dataPath.c_str(), r.companionPath.c_str(), r.manifestPath.c_str());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qzdocbuild: out of memory\n");
        return 1;
    }
    return 0;
}

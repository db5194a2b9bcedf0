// Host tool run at build time: writes every bitmap, icon and cursor of the
// program into a directory, from the drawing code in pictures.cpp, and the
// resource script's part that names them (images.rc):
//
//   imagegen <outdir>
#include "pictures.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: imagegen <outdir>\n");
    return 2;
}

int writeAll(const std::string& dir)
{
    int failures = 0;
    for (const Picture& p : catalogue()) {
        std::string path = dir + "/" + fileName(p.kind, p.id);
        if (!writeFile(path, p.make())) {
            std::fprintf(stderr, "imagegen: cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    const std::string rc = resourceScript();
    if (!writeFile(dir + "/images.rc", Bytes(rc.begin(), rc.end()))) {
        std::fprintf(stderr, "imagegen: cannot write %s/images.rc\n", dir.c_str());
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 2 && argv[1][0] != '-')
            return writeAll(argv[1]);
        return usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "imagegen: %s\n", e.what());
        return 1;
    }
}

// quorvel-sample-world DIR: writes the sample world's Resource.dat into DIR
// (made when missing). The same bytes on every run.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "fixtures/SampleWorld.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "cannot make %s: %s\n", dir.c_str(), std::strerror(errno));
        return 1;
    }
    const std::string path = dir + "/Resource.dat";
    const std::string part = path + ".part";
    // Written aside and renamed, so a broken run never leaves half a file.
    if (!CSampleWorld::Builder().Write(part) || std::rename(part.c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::remove(part.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}

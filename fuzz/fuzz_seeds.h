// Writing a fuzz target's seed files into the corpus folder it is given.
#pragma once
#include <cstdio>
#include <string>

inline void WriteSeed(const std::string& dir, const char* name, const std::string& data)
{
    std::string path = dir + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
}

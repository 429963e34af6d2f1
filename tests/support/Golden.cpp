#include "support/Golden.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

std::string GoldenPath(const std::string& name)
{
    return std::string(QUORVEL_SOURCE_DIR) + "/tests/golden/" + name + ".txt";
}

}  // namespace

std::string GoldenHex(uint64_t hash)
{
    char text[17];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(hash));
    return text;
}

GoldenResult CheckGoldens(const std::map<std::string, std::string>& got)
{
    GoldenResult result;
    const char* update = std::getenv("QUORVEL_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        for (const auto& [name, hash] : got)
            std::ofstream(GoldenPath(name)) << hash << "\n";
        result.updated = true;
        return result;
    }
    for (const auto& [name, hash] : got) {
        std::ifstream in(GoldenPath(name));
        std::string want;
        in >> want;
        if (hash != want)
            result.mismatches.push_back(name + ": " + hash + ", golden " + want +
                                        "; run with QUORVEL_UPDATE_GOLDEN=1 to regenerate");
    }
    return result;
}

// Golden hashes of test pictures, kept one a file as tests/golden/<name>.txt.
// With QUORVEL_UPDATE_GOLDEN=1 in the environment the files are written
// from what the test got instead of being compared.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct GoldenResult {
    bool updated = false;
    // One line for every name whose hash differs from its file.
    std::vector<std::string> mismatches;
};

std::string GoldenHex(uint64_t hash);
GoldenResult CheckGoldens(const std::map<std::string, std::string>& got);

// The files each stage loads, as the archive names them ("data\" + name).
#pragma once
#include <string>
#include <vector>

constexpr int kStageTableCount = 7;

// The tile files of stage 0..6 in load order; empty for any other.
std::vector<std::string> StageTileFiles(int stage);
// The object files of stage 0..6 in load order; empty for any other.
std::vector<std::string> StageObjectFiles(int stage);

#include "world/BattlePacketHeader.h"

#include <array>

namespace {

struct SizeRow {
    uint8_t sub;
    uint8_t size;
};

// Every sub-command a client may receive. Sub 6 is 25 bytes before its
// item ids; 10..29 and 40..44 are the abilities, 150..154 their relays.
constexpr SizeRow kSizes[] = {
    {1, 20},   {4, 26},   {5, 12},   {6, 25},   {7, 10},   {9, 13},   {10, 2},   {11, 16},  {12, 2},
    {13, 16},  {14, 17},  {15, 22},  {16, 16},  {17, 38},  {18, 2},   {19, 2},   {20, 38},  {21, 8},
    {22, 24},  {23, 32},  {24, 2},   {25, 4},   {26, 38},  {27, 32},  {28, 32},  {29, 4},   {40, 2},
    {41, 15},  {43, 10},  {44, 4},   {45, 13},  {46, 9},   {47, 9},   {150, 10}, {151, 10}, {152, 10},
    {153, 22}, {154, 22}, {200, 3},  {201, 2},
};

constexpr std::array<int16_t, 256> BuildTable()
{
    std::array<int16_t, 256> t{};
    for (int16_t& v : t)
        v = -1;
    for (const SizeRow& r : kSizes)
        t[r.sub] = r.size;
    return t;
}

constexpr std::array<int16_t, 256> kTable = BuildTable();

}  // namespace

int BattlePayloadSize(int sub) { return sub >= 0 && sub < 256 ? kTable[static_cast<size_t>(sub)] : -1; }

#include "colony/SimBuildingTable.h"

#include <utility>
#include <vector>

#include "colony/SimTerrain.h"
#include "core/BiString.h"
#include "core/ByteReader.h"
#include "core/ResFile.h"
#include "platform/Debug.h"

CSimBuildingTable g_simBuildingTable;

namespace {

struct TypeRow {
    int type;
    const char* recipe;
    int frames;
    int ticksPerFrame;
    int overlayKind;
    int pickCommand;
    int buildTime;
    int overlayFlag;
    int infoPage;
    const char* description;
    int rule;
};

// Indexed by type.
constexpr TypeRow kTypeRows[CSimBuildingTable::kTypes] = {
    {0, "EEE", 1, 1, 5, 0, 1, 0, 0, nullptr, 0},
    {1, "YYB", 3, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {2, "WWR", 3, 10, 5, 82, 240, 1, 0, nullptr, 16},
    {3, "YYY", 5, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {4, "YYW", 4, 10, 7, 82, 240, 1, 0, nullptr, 1},
    {5, "WRB", 4, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {6, "ERR", 4, 10, 5, 82, 480, 1, 0, nullptr, 1},
    {7, "EEY", 3, 10, 5, 82, 240, 0, 1, "Meadow.btx", 128},
    {8, "WWB", 4, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {9, "EBB", 3, 10, 5, 82, 720, 1, 0, nullptr, 1},
    {10, "YBL", 6, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {11, "EEW", 4, 10, 5, 82, 240, 1, 1, "Slum.btx", 128},
    {12, "YRB", 9, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {13, "ERB", 3, 10, 5, 82, 480, 1, 1, "Shrine.btx", 1},
    {14, "RRR", 2, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {15, "WWY", 3, 10, 5, 82, 240, 1, 0, nullptr, 16},
    {16, "EWL", 6, 10, 5, 82, 480, 0, 1, "Crystal.btx", 8},
    {17, "BBL", 4, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {18, "WYR", 4, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {19, "BBR", 4, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {20, "WBL", 6, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {21, "YYL", 4, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {22, "WYL", 8, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {23, "LLY", 8, 10, 7, 82, 240, 1, 0, nullptr, 1},
    {24, "ERL", 8, 10, 5, 82, 480, 1, 0, nullptr, 0},
    {25, "WWL", 3, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {26, "YYR", 3, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {27, "EYB", 3, 10, 5, 82, 240, 1, 1, "Bank.btx", 0},
    {28, "BBY", 2, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {29, "LLB", 4, 10, 7, 82, 240, 1, 0, nullptr, 1},
    {30, "RRY", 2, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {31, "EWY", 4, 10, 5, 82, 480, 0, 1, "Wood.btx", 2},
    {32, "EWW", 2, 10, 5, 82, 240, 1, 1, "Resident.btx", 128},
    {33, "EYY", 3, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {34, "EWR", 3, 10, 5, 82, 480, 0, 1, "Quarry.btx", 4},
    {35, "RRW", 5, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {36, "LLW", 3, 10, 7, 82, 240, 1, 0, nullptr, 1},
    {37, "EWB", 4, 10, 5, 82, 480, 0, 1, "Metal.btx", 4},
    {38, "WRL", 3, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {39, "RBL", 3, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {40, "RRB", 4, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {41, "EEE", 4, 13, 5, 76, 0, 1, 0, nullptr, 1},
    {42, "BBB", 4, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {43, "LLR", 5, 10, 7, 82, 240, 1, 0, nullptr, 1},
    {44, "EYL", 4, 10, 5, 82, 480, 1, 0, nullptr, 1},
    {45, "EEE", 4, 10, 5, 81, 0, 1, 3, nullptr, 0},
    {46, "WWW", 4, 10, 5, 82, 240, 1, 0, nullptr, 128},
    {47, "EBL", 4, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {48, "EER", 4, 10, 5, 82, 240, 0, 1, "Farm.btx", 128},
    {49, "LLL", 4, 10, 7, 82, 240, 0, 2, "Power.btx", 9},
    {50, "BBW", 4, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {51, "EYR", 4, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {52, "ELL", 4, 10, 5, 82, 480, 0, 2, "Power.btx", 8},
    {53, "RRL", 4, 10, 5, 82, 240, 1, 0, nullptr, 0},
    {54, "EEL", 4, 10, 5, 82, 240, 0, 2, "Power.btx", 8},
    {55, "EEB", 6, 10, 5, 82, 240, 1, 1, "School.btx", 0},
    {56, "YRL", 4, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {57, "WYB", 3, 10, 5, 82, 240, 1, 0, nullptr, 1},
    {58, "EEE", 9, 10, 5, 79, 0, 1, 0, nullptr, 1},
    {59, "EEE", 4, 1, 5, 0, 1, 0, 0, nullptr, 0},
    {60, "EEE", 4, 1, 5, 0, 1, 0, 0, nullptr, 0},
    {61, "EEE", 4, 1, 5, 0, 1, 0, 0, nullptr, 0},
    {62, "EEE", 3, 1, 5, 0, 1, 0, 0, nullptr, 0},
    {63, "EEE", 3, 1, 5, 0, 1, 0, 0, nullptr, 0},
    {64, "EEE", 6, 1, 5, 0, 1, 0, 0, nullptr, 0},
    {65, "EEE", 6, 1, 5, 0, 1, 0, 0, nullptr, 0},
};

// The order the records are filled in; each type's first frame is the sum of
// the frame counts filled before it.
constexpr int kFillOrder[CSimBuildingTable::kTypes] = {
    1,  2,  3,  5,  8,  9,  10, 12, 14, 15, 18, 19, 22, 24, 25, 27, 28, 30, 33, 36, 39, 40,
    4,  6,  7,  11, 13, 16, 17, 20, 21, 26, 29, 32, 34, 35, 37, 38, 41, 42, 43, 44, 45, 46,
    47, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 23, 48, 31, 0,  59, 60, 61, 62, 63, 64, 65,
};

struct NameRow {
    int type;
    CBiString name;
};

const NameRow kNames[] = {
    {1, CBiString("가상현실게임", "Virtual Reality Game Center")},
    {2, CBiString("경찰서", "Police Station")},
    {3, CBiString("텔레파시 연구소", "Telepathy Reserch Center")},
    {4, CBiString("기도의 정원", "Garden of Pray")},
    {5, CBiString("대학", "College")},
    {6, CBiString("도서관", "Library")},
    {7, CBiString("목장", "Meadow")},
    {8, CBiString("무역센터", "Trading Center")},
    {9, CBiString("박물관", "Museum")},
    {10, CBiString("가상현실 훈련소", "Virtual Reality Traning Spot")},
    {11, CBiString("빈민가", "Slum")},
    {12, CBiString("사관학교", "Marcial School")},
    {13, CBiString("사원", "Shrine")},
    {14, CBiString("성당", "Cathedral")},
    {15, CBiString("소나무", "Fire Station")},
    {16, CBiString("수정광산", "Crystal Mine")},
    {17, CBiString("수정세공소", "Crystal Artwork")},
    {18, CBiString("시장", "Market")},
    {19, CBiString("신경가스발생소", "Nerve Gas Ventilation")},
    {20, CBiString("신상", "Idol")},
    {21, CBiString("여론광장", "Plaza")},
    {22, CBiString("연병장", "Perade Ground")},
    {23, CBiString("용사의 동상", "Colossus of Hero")},
    {24, CBiString("첨단기술 연구소", "Hightech Research Center")},
    {25, CBiString("유전공학 농장", "Genetic Engeneering Farm")},
    {26, CBiString("염사 센터", "See Through")},
    {27, CBiString("은행", "Bank")},
    {28, CBiString("인간심리연구소", "Human Mental Reserch Center")},
    {29, CBiString("자비의 제단", "Alter of Mercy")},
    {30, CBiString("정신수련장", "Spirit Training Spot")},
    {31, CBiString("제재소", "Wood Yard")},
    {32, CBiString("주택가", "Residencial")},
    {33, CBiString("아이템창고", "Item Warehouse")},
    {34, CBiString("채석장", "Quarry")},
    {35, CBiString("천문대", "Observatory")},
    {36, CBiString("천상의 음악", "Music of Haven")},
    {37, CBiString("철광산", "Ore Mine")},
    {38, CBiString("초능력연구소", "ESP Reserch Center")},
    {39, CBiString("콜로세움", "Colosseum")},
    {40, CBiString("성자의 탑", "Pagoda of Saint")},
    {41, CBiString("본부", "HeadQuarter")},
    {42, CBiString("홍보처", "Promotion Center")},
    {43, CBiString("봉황의 알", "Egg of Phoinix")},
    {44, CBiString("바락", "Barrack")},
    {45, CBiString("베이스", "Base")},
    {46, CBiString("번화가", "Villige")},
    {47, CBiString("극장", "Theater")},
    {48, CBiString("농장", "Farm")},
    {49, CBiString("가이아의 힘", "Power of Gaia")},
    {50, CBiString("병원", "Hospital")},
    {51, CBiString("아이템 제작소", "Item Manufactory")},
    {52, CBiString("중형발전소", "Middium Power Plant")},
    {53, CBiString("마나배터리", "Mana Battery")},
    {54, CBiString("소형발전소", "Small Pawer Plant")},
    {55, CBiString("학교", "School")},
    {56, CBiString("체육관", "Gymnasium")},
    {57, CBiString("훈련소", "Training Field")},
    {58, CBiString("아카샤", "Akasha")},
};

// The "Facility.dat" terminator: the letters E N D less 'A'.
constexpr uint8_t kEndCode[3] = {'E' - 'A', 'N' - 'A', 'D' - 'A'};

int DecodeLetter(char c)
{
    switch (c) {
    case 'W': return 0;
    case 'B': return 1;
    case 'R': return 2;
    case 'Y': return 3;
    case 'L': return 4;
    case 'E': return kNoCube;
    default: return -2;
    }
}

// Descending, by three compare-and-swap steps.
void SortRecipe(int c[3])
{
    if (c[0] < c[1])
        std::swap(c[0], c[1]);
    if (c[0] < c[2])
        std::swap(c[0], c[2]);
    if (c[1] < c[2])
        std::swap(c[1], c[2]);
}

}  // namespace

CSimBuildingTable::CSimBuildingTable() { Rebuild(); }

void CSimBuildingTable::Rebuild()
{
    m_types = {};
    m_anchorsTaken = 0;
    int frame = 0;
    for (int type : kFillOrder) {
        const TypeRow& r = kTypeRows[type];
        frame = SetType(type, frame, r.frames, r.recipe, r.ticksPerFrame, r.overlayKind, r.pickCommand,
                        r.buildTime, r.overlayFlag, r.infoPage, r.description, r.rule);
    }
}

int CSimBuildingTable::SetType(int type, int firstFrame, int frames, const char* recipe, int ticksPerFrame,
                               int overlayKind, int pickCommand, int buildTime, int overlayFlag, int infoPage,
                               const char* description, int rule)
{
    SimBuildingType& t = m_types[static_cast<size_t>(type)];
    t.firstFrame = firstFrame;
    t.frames = frames;
    t.ticksPerFrame = ticksPerFrame;
    t.overlayKind = overlayKind;
    t.pickCommand = pickCommand;
    t.buildTime = buildTime;
    t.overlayFlag = overlayFlag;
    t.infoPage = infoPage;
    t.description = description;
    t.rule = rule;
    int c[3];
    DecodeRecipe(recipe, c);
    SortRecipe(c);
    t.recipe = {c[0], c[1], c[2]};
    return firstFrame + frames;
}

const SimBuildingType& CSimBuildingTable::GetType(int index) const
{
    return m_types[IsValidType(index) ? static_cast<size_t>(index) : 0];
}

bool CSimBuildingTable::DecodeRecipe(const char code[3], int colours[3])
{
    for (int i = 0; i < 3; ++i) {
        colours[i] = DecodeLetter(code[i]);
        if (colours[i] < kNoCube)
            return false;
    }
    return true;
}

int CSimBuildingTable::FindByRecipe(int colours[3]) const
{
    if (colours[0] == kNoCube && colours[1] == kNoCube && colours[2] == kNoCube)
        return kSimEmptyBase;
    SortRecipe(colours);
    for (int type = kTypes - 1; type >= 1; --type) {
        const auto& r = m_types[static_cast<size_t>(type)].recipe;
        if (r[0] == colours[0] && r[1] == colours[1] && r[2] == colours[2])
            return type;
    }
    return 0;
}

int CSimBuildingTable::FindByRecipe(const char code[3]) const
{
    int c[3];
    if (!DecodeRecipe(code, c))
        return -1;
    return FindByRecipe(c);
}

bool CSimBuildingTable::ReadFacilityData(CByteReader& r)
{
    for (;;) {
        uint8_t code[3];
        if (!r.Bytes(code, sizeof code))
            return false;
        if (code[0] == kEndCode[0] && code[1] == kEndCode[1] && code[2] == kEndCode[2])
            return true;
        int32_t v[kRecordValues];
        for (int32_t& x : v)
            x = r.I32();
        if (!r.Ok())
            return false;
        char letters[3];
        for (int i = 0; i < 3; ++i)
            letters[i] = static_cast<char>((code[i] + 'A') & 0xFF);
        const int type = FindByRecipe(letters);
        // Only a damaged file names no type: every cube triple has one.
        if (type <= 0) {
            plat::DebugPrintf("Facility.dat: record %d %d %d names no facility\n", code[0], code[1], code[2]);
            continue;
        }
        SimBuildingType& t = m_types[static_cast<size_t>(type)];
        size_t i = 0;
        for (int32_t& c : t.capacity)
            c = v[i++];
        t.energy = v[i++];
        for (int32_t& c : t.cost)
            c = v[i++];
        for (int32_t& p : t.production)
            p = v[i++];
    }
}

bool CSimBuildingTable::LoadFacilityData()
{
    const int h = ResOpen("Facility.dat");
    if (h == -1) {
        plat::DebugOut("Facility.dat: missing\n");
        return false;
    }
    const long size = ResSize(h);
    std::vector<uint8_t> data(size > 0 ? static_cast<size_t>(size) : 0);
    const size_t got = data.empty() ? 0 : ResRead(data.data(), 1, data.size(), h);
    ResClose(h);
    CByteReader r(data.data(), got);
    if (!ReadFacilityData(r)) {
        plat::DebugOut("Facility.dat: ends before its END record\n");
        return false;
    }
    return true;
}

void CSimBuildingTable::TakeAnchors()
{
    for (SimBuildingType& t : m_types) {
        RlePoint p;
        if (!m_sprites.CheckFrame(t.firstFrame, &p)) {
            plat::DebugPrintf("SimBuilding.slr: frame %d has no anchor\n", t.firstFrame);
            p = RlePoint{};
        }
        t.anchorX = p.x;
        t.anchorY = p.y;
    }
    m_anchorsTaken = 1;
}

void CSimBuildingTable::LoadSprites()
{
    if (m_sprites.Load("SimBuilding.slr") == 0 && !m_anchorsTaken)
        TakeAnchors();
    g_simTerrain.LoadSprites();
    m_mapShown = 1;
}

void CSimBuildingTable::UnloadSprites()
{
    m_mapShown = 0;
    m_sprites.Free();
    g_simTerrain.UnloadSprites();
}

const char* GetFacilityName(int type)
{
    for (const NameRow& row : kNames)
        if (row.type == type)
            return row.name.Get();
    return "";
}

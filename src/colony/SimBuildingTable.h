// The 66 colony object types: their pictures in "SimBuilding.slr", tech-cube
// recipes, build times, panels and placement rules, and the fourteen balance
// values per type that "Facility.dat" supplies.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/SlrList.h"

class CByteReader;

// Type indices with a meaning of their own.
enum : int {
    kSimCursorType = 0,
    kSimSlumType = 11,
    kSimHeadquarters = 41,
    kSimEmptyBase = 45,
    kSimEdgeFacility = 58,
    kSimRock = 59,
    kSimForest = 60,
    kSimLava = 61,
    kSimSmallOverlay = 62,
    kSimLargeOverlay = 63,
    kSimSmallSite = 64,
    kSimLargeSite = 65,
};

// Cube colours 0..4; an empty place of a recipe.
constexpr int kNoCube = -1;
constexpr int kCubeColours = 5;

struct SimBuildingType {
    int32_t firstFrame = 0;
    int32_t frames = 0;
    // Inside the first frame; taken when the sprites are first loaded.
    int32_t anchorX = 0;
    int32_t anchorY = 0;
    // Cube colours, sorted descending, kNoCube places last.
    std::array<int32_t, 3> recipe{kNoCube, kNoCube, kNoCube};
    int32_t ticksPerFrame = 1;
    // 5 selects the small overlay and construction site, any other value the
    // large ones.
    int32_t overlayKind = 5;
    // UI command pushed when a facility of this type is picked.
    int32_t pickCommand = 0;
    // Game-time units; 0 is built at once.
    int32_t buildTime = 0;
    // 0 progress, 1 description, 2 energy, 3 base.
    int32_t infoPage = 0;
    // A built facility shows one of three random overlays.
    int32_t overlayFlag = 0;
    // The .btx entry, or null.
    const char* description = nullptr;
    // Placement rule bits: 1 unique, 2/4/8 near forest/rock/lava, 16 none of
    // the type within 50, 32/64/128 not near forest/rock/lava.
    int32_t rule = 0;
    // From "Facility.dat", in file order.
    std::array<int32_t, 3> capacity{};
    // 1 or more produces, 0 or less consumes its negation.
    int32_t energy = 0;
    // Money, wood, stone, iron, crystal.
    std::array<int32_t, 5> cost{};
    std::array<int32_t, 5> production{};
};

class CSimBuildingTable {
public:
    static constexpr int kTypes = 66;
    static constexpr int kFrames = 273;
    // A "Facility.dat" record: three code bytes and fourteen i32 values.
    static constexpr size_t kRecordValues = 14;
    static constexpr size_t kRecordSize = 3 + 4 * kRecordValues;

    // Fills the 66 records with their built-in values; the balance values
    // are 0 until LoadFacilityData.
    CSimBuildingTable();

    // Out of range gives record 0.
    const SimBuildingType& GetType(int index) const;
    static bool IsValidType(int index) { return index >= 0 && index < kTypes; }

    // The type whose recipe is the triple, which is sorted in place: 45 for
    // three empty places, else the highest type 65..1 with that recipe, else
    // 0.
    int FindByRecipe(int colours[3]) const;
    // The same for a code of three letters W B R Y L E; -1 when a letter is
    // none of them.
    int FindByRecipe(const char code[3]) const;
    // W 0, B 1, R 2, Y 3, L 4, E kNoCube; false for any other letter.
    static bool DecodeRecipe(const char code[3], int colours[3]);

    // Reads "Facility.dat" from the archive. False (a damaged data file)
    // when it is missing, or ends inside a record or before its "END".
    bool LoadFacilityData();
    // The same from the bytes of the file. Records with a letter that is no
    // recipe letter, or a code that names no type, are skipped.
    bool ReadFacilityData(CByteReader& r);
    // The built-in values again; balance values 0, anchors not taken.
    void Rebuild();

    // "SimBuilding.slr" (anchors on the first load), then the ground's
    // "SimMap.slr"; the map is then shown.
    void LoadSprites();
    void UnloadSprites();
    int IsMapShown() const { return m_mapShown; }

    const CSlrList& Sprites() const { return m_sprites; }
    CSlrList& Sprites() { return m_sprites; }

private:
    int SetType(int type, int firstFrame, int frames, const char* recipe, int ticksPerFrame, int overlayKind,
                int pickCommand, int buildTime, int overlayFlag, int infoPage, const char* description, int rule);
    void TakeAnchors();

    std::array<SimBuildingType, kTypes> m_types{};
    CSlrList m_sprites;
    int32_t m_anchorsTaken = 0;
    int32_t m_mapShown = 0;
};

extern CSimBuildingTable g_simBuildingTable;

// The type's name in the current language (CP949); "" for a type without one.
const char* GetFacilityName(int type);

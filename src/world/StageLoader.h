// Stage loading as the connect sequence and stage changes call it: the
// palette cycles, the map layer and the object layer reset, the stage's
// tiles and object files, its map file (planes and structures), the town
// NPCs of stage 0 and the stage's music.
#pragma once

// The number of the map the player is on (or about to enter).
extern int g_currentMapId;
// The stage the last LoadStage asked for, -1 before any.
extern int g_lastLoadedStage;

constexpr int kStageCount = 7;
// "1stage.map" .. "7stage.map" for stages 0..6; null for any other.
const char* StageMapName(int stage);

class CObjLayer;

// Loads a stage: 1 when loaded. A stage outside 0..6 is refused (0, nothing
// loaded); a tile, object or map file that is missing or damaged is never
// played: string 38 names it and the game ends (0).
int LoadStage(int stage);
// The five town NPCs of stage 0.
void PlaceStageNpcs(CObjLayer& layer);
// Back to the start state (the field's globals with it).
void ResetStageLoader();

// Stage loading as the connect sequence and stage changes call it: the map
// layer and the object layer are reset, then the stage's map file gives the
// planes and the structures. Tiles, the stage's object files, its NPCs, the
// palette cycles and the music come with the field frame.
#pragma once

// The number of the map the player is on (or about to enter).
extern int g_currentMapId;
// The stage the last LoadStage asked for, -1 before any.
extern int g_lastLoadedStage;

constexpr int kStageCount = 7;
// "1stage.map" .. "7stage.map" for stages 0..6; null for any other.
const char* StageMapName(int stage);

// Loads the stage's map and objects: 1 when loaded. A stage outside 0..6,
// or a map file that is missing or damaged, is never played: string 38
// names it and the game ends (0).
int LoadStage(int stage);
// Back to the start state (the field's globals with it).
void ResetStageLoader();

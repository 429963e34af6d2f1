// Stage loading as the connect sequence and stage changes call it. This form
// records the request; the map and object loading come with the field.
#pragma once

// The number of the map the player is on (or about to enter).
extern int g_currentMapId;
// The stage the last LoadStage asked for, -1 before any.
extern int g_lastLoadedStage;

// Loads the stage's map and objects; 1 when loaded.
int LoadStage(int stage);
void ResetStageLoader();

// The fixed cells where a character enters the field.
#pragma once

struct StartPosition {
    int map;
    int x;
    int y;
};

// The ordinary start.
constexpr StartPosition GetStartPosition() { return {0, 175, 298}; }
// The start of a character that has a jail term.
constexpr StartPosition GetStartPositionB() { return {0, 353, 243}; }
constexpr StartPosition GetStartPositionC() { return {0, 182, 278}; }
constexpr StartPosition GetStartPositionD() { return {0, 219, 314}; }

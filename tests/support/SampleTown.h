// The whole client in the sample world, logged in on the in-process demo
// server and played by hand: keys held for a few frames, clicks with the
// pointer moved there first, letters typed, and what the last presented
// frame shows.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "fixtures/ArchiveBuilder.h"
#include "support/DemoServer.h"
#include "support/Harness.h"

class CSampleTown {
public:
    static constexpr const char* kServerKey = "Software\\Brennix\\Quorvel\\Server";

    CSampleTown();
    // The town on the sample world with changed entries.
    explicit CSampleTown(const CArchiveBuilder& world);

    // The intro layer's scene, -1 without one.
    static int Scene();
    static void UseBoardServers(uint16_t boardPort, uint16_t mailPort);

    void Key(uint8_t scan);
    // Keys held together for a few frames.
    void Chord(std::initializer_list<uint8_t> keys);
    void ClickAt(int x, int y);
    // Two clicks 70 ms apart; the latched position is the second's.
    void DoubleClickAt(int x, int y);
    // Letters are typed in Latin mode (Shift+Space leaves the Hangul mode).
    void Type(const std::vector<uint8_t>& scans, bool latin);
    // The ID ("gm1" is a game master's, "123" a player's), the password
    // "45", the first character: on stage 0, once the entry's messages have
    // faded. False when a scene never came.
    bool LogIn(bool gameMaster);
    // The log-in alone: true once the character screen shows.
    bool ToCharacterScreen(bool gameMaster);
    // PLAY under a card (1..3): true once on stage 0, as LogIn.
    bool Play(int slot);
    // A click on a structure's cell of the town.
    void ClickCell(int x, int y);
    // A click on the NPC standing on the cell; false when none stands there.
    bool ClickNpcAt(int x, int y);
    // Where a cell's middle is on the screen.
    static void CellOnScreen(int x, int y, int& sx, int& sy);
    // The share of the text's ink, drawn at (x, y) in colour, that the last
    // presented frame shows in that colour; -1 before any frame.
    double Shown(const std::string& text, int x, int y, uint8_t colour);

    CHarness h{5000};
    CTestArchive archive;
    CDemoServer game;

private:
    // Where Shown draws the text alone; the text layer keeps pointing here
    // until the next frame.
    std::vector<uint8_t> m_scratch;
};

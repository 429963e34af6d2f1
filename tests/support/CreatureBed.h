// A field for the creature tests: the test world with an all-ground map,
// character kinds whose sets carry every creature animation, my character,
// the recording UI and effects, and (on request) a scripted server on
// loopback to which the main socket is connected.
#pragma once
#include <cstdint>
#include <memory>

#include "fixtures/CreatureSet.h"
#include "support/FakeEffects.h"
#include "support/FakeServer.h"
#include "support/FakeUi.h"
#include "support/TestWorld.h"
#include "world/Character.h"

class CCreatureBed {
public:
    static constexpr uint16_t kMyId = 7;
    // Kinds loaded: 0, 1, 2 (players of class groups 0, 1, 2 and classes
    // 0, 2, 4), 1305 and 905 (monsters of class group 3).
    explicit CCreatureBed(int mapSize = 64, const CreatureSetOptions& options = {},
                          const CArchiveBuilder& archive = CArchiveBuilder::MinimalGame());
    ~CCreatureBed();
    CCreatureBed(const CCreatureBed&) = delete;
    CCreatureBed& operator=(const CCreatureBed&) = delete;

    CObjLayer& Layer() { return world.Layer(); }
    CBGLayer& Ground() { return world.Ground(); }
    // My character at (x, y) from kind 0, the layer's player character; the
    // view is centred on it.
    CCharacter& Me(int x, int y);
    CCharacter& Add(int id, int x, int y, int kind = 0, int speed = 0);
    void Wall(int x, int y);
    // One frame of the objects: the frame clock advances, the draw list is
    // emptied, every object is updated.
    void Frame(int n = 1);
    // Frames until pred holds; false after limit frames.
    template <class Pred>
    bool FramesUntil(Pred pred, int limit = 2000)
    {
        for (int i = 0; i < limit; ++i) {
            if (pred())
                return true;
            Frame();
        }
        return pred();
    }

    // Connects the main socket to a scripted server.
    void GoOnline();
    // Every byte the server has received since the last call.
    Bytes Received();

    CTestWorld world;
    FakeUi ui;
    FakeEffects fx;
    std::unique_ptr<CFakeServer> server;

private:
    void Pump(int rounds);
    size_t m_taken = 0;
};

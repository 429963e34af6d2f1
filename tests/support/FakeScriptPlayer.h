// A stand-in for the player info that scripts change items through:
// installed while it exists; keeps the ids asked for, in order, and gives
// a scripted name and tile.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "script/ScriptServices.h"

class FakeScriptPlayer : public IScriptPlayer {
public:
    FakeScriptPlayer() { SetScriptPlayer(this); }
    ~FakeScriptPlayer() override { SetScriptPlayer(nullptr); }
    FakeScriptPlayer(const FakeScriptPlayer&) = delete;
    FakeScriptPlayer& operator=(const FakeScriptPlayer&) = delete;

    void AddItem(int id) override { added.push_back(id); }
    bool RemoveItem(int id) override
    {
        removed.push_back(id);
        return removeResult;
    }
    void GetCharName(char* out, size_t size) override
    {
        if (size == 0)
            return;
        std::strncpy(out, name.c_str(), size - 1);
        out[size - 1] = '\0';
    }
    int GetTileX() override { return tileX; }
    int GetTileY() override { return tileY; }

    std::vector<int> added;
    std::vector<int> removed;
    bool removeResult = true;
    std::string name = "Eric";
    int tileX = 0;
    int tileY = 0;
};

// What the script engine uses of the UI layer's message box and of the
// player info. Script code calls ScriptMessageBox() and ScriptPlayer(); the
// defaults serve the real windows and player data, a test may install a
// recording stand-in with the setters.
#pragma once
#include <cstddef>

class CObjLayer;
struct CharacterRecord;

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // The in-game message box shows the text from its start.
    virtual void SetText(const char* text) = 0;
    // True when the box has no text left to show (the player has paged
    // through it).
    virtual bool IsEmpty() = 0;
};

class IScriptPlayer {
public:
    virtual ~IScriptPlayer() = default;
    // Appends an id after the last used item slot and reports the slot
    // (character field 51); nothing when the list is full.
    virtual void AddItem(int id) = 0;
    // Removes the first entry of the id, the last entry filling the gap
    // (field 52); false when it is not held.
    virtual bool RemoveItem(int id) = 0;
    // The character name, NUL included, cut to size bytes.
    virtual void GetCharName(char* out, size_t size) = 0;
    // The player's tile.
    virtual int GetTileX() = 0;
    virtual int GetTileY() = 0;
};

IMessageBox& ScriptMessageBox();
IScriptPlayer& ScriptPlayer();
// Null puts the default back.
void SetScriptMessageBox(IMessageBox* box);
void SetScriptPlayer(IScriptPlayer* player);

// The player's record as the player's character holds it, and the object
// layer's copy that the character-field sender reads; null before the
// field exists.
CharacterRecord* PlayerRecord();
CObjLayer* PlayerLayer();

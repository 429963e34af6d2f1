// A stand-in for the in-game message box that scripts show their dialogues
// in: installed while it exists; keeps every text it was given and says it
// is empty (paged through) when the test says so.
#pragma once
#include <string>
#include <vector>

#include "script/ScriptServices.h"

class FakeMessageBox : public IMessageBox {
public:
    FakeMessageBox() { SetScriptMessageBox(this); }
    ~FakeMessageBox() override { SetScriptMessageBox(nullptr); }
    FakeMessageBox(const FakeMessageBox&) = delete;
    FakeMessageBox& operator=(const FakeMessageBox&) = delete;

    void SetText(const char* text) override
    {
        texts.emplace_back(text ? text : "");
        empty = texts.back().empty();
    }
    bool IsEmpty() override
    {
        ++emptyTests;
        return empty;
    }

    std::vector<std::string> texts;
    // SetText of a text clears it; the test sets it when the player has
    // read the box.
    bool empty = true;
    int emptyTests = 0;
};

// What the chat tests share: my character on the creature bed's field, the
// main socket connected to a scripted server, the UI layer with its real
// windows (the chat window and the big chat among them), the player's name
// "Arin" and a byte source for the replies the view dispatches.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures/PacketStream.h"
#include "support/CreatureBed.h"
#include "ui/WidgetWindow.h"
#include "windows/DaradirUzedo.h"

// Johab, the code of the input line and of the chat window's lines.
std::string Johab(const std::string& cp949);
std::string Cp949(const std::string& johab);

// A person record of 21 bytes.
Bytes PersonRecord(const std::string& name, uint8_t region = 0, uint16_t x = 0, uint16_t y = 0, uint32_t number = 0);
// Command 8 as the client sends it: sub-code, two zero bytes, length.
Bytes ChatCommand(uint8_t sub, const Bytes& payload = {});
// Command 7 from "Arin" (id 7).
Bytes ChatPacket(uint8_t mode, const std::string& text);
// Command 7 as the server sends it: a chat record.
Bytes Received(uint16_t sender, const std::string& name, uint8_t mode, const std::string& text);
// Command 8 as the server sends it; length -1: the payload's.
Bytes ChatReply(uint8_t sub, uint16_t value, const Bytes& payload = {}, int length = -1);

class ChatTest : public ::testing::Test {
public:
    static constexpr const char* kMe = "Arin";

protected:
    ChatTest();
    ~ChatTest() override;

    CObjLayer& Layer() { return bed.Layer(); }
    CWidgetWindow& Chat();
    CWidget& BigChat();
    void English(bool on);
    // A line (CP949) typed into the chat input and submitted as Enter does.
    void Type(const std::string& cp949);
    // What the server has received since the last call.
    Bytes Sent() { return bed.Received(); }
    // The notices and message-ring lines since the last call.
    std::vector<std::string> Shown();
    // Marks the chat window's history; Added gives the lines added after
    // the mark (CP949, oldest first).
    void Mark();
    std::vector<std::string> Added();
    // Bytes through the view's receive dispatcher.
    void Receive(const Bytes& b);

    CCreatureBed bed;
    CDaradirUzedo ui{nullptr};
    CMemoryByteSource src;
    CCharacter* me = nullptr;
};

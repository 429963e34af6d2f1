// The colony simulation. Minimal form: its packets (received command 102)
// are taken off the stream and dropped.
#pragma once

class CSimColony {
public:
    // Reads the u8 sub-command, its two bytes and the sub-command's payload
    // with NetRead.
    void OnSimPacket();
};

extern CSimColony g_simColony;

// Arbitrary server byte streams through the receive framing and the
// dispatcher of a headless client. Byte 0 picks the chunk size the stream
// arrives in, byte 1 whether the player's character is in the field.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/ExitGame.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/headless/HeadlessPlatform.h"
#include "world/ObjLayer.h"

namespace {

struct Client {
    plat::CHeadlessPlatform platform;
    // The view reads its picture from the archive when it is made.
    CTestArchive archive{CArchiveBuilder::MinimalGame()};
    CQuillonView view;
    CObjLayer layer{nullptr, nullptr};
    CMemoryByteSource src;
    Client()
    {
        plat::SetDebugSink([](std::string_view) {});
        view.m_pObjLayer = &layer;
        SetPacketSource(&src);
    }
};

Client& TheClient()
{
    static Client* client = new Client;
    return *client;
}

void WriteSeed(const std::string& dir, const std::string& name, uint8_t chunk, uint8_t field,
               const std::vector<uint8_t>& stream)
{
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.put(static_cast<char>(chunk));
    out.put(static_cast<char>(field));
    out.write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        const std::vector<uint8_t> mix = MakeServerPacketMix();
        WriteSeed(dir, "mix_whole", 0, 1, mix);
        WriteSeed(dir, "mix_bytes", 1, 1, mix);
        WriteSeed(dir, "mix_ungated", 7, 0, MakeServerPacketMix(true));
        std::vector<uint8_t> login = MakePacket(120, 2, {{1, 5}}, 341);
        WriteSeed(dir, "login", 3, 0, login);
        WriteSeed(dir, "bad_field", 0, 1, MakePacket(52, 3, {{3, 38}}));
    }
    TheClient();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    Client& c = TheClient();
    ResetReceiveState();
    ResetExitState();
    c.platform.dialogs.boxes.clear();
    c.src.Clear();
    c.layer.m_pMyChar = (data[1] & 1) ? &c.layer.CharacterSlot(0) : nullptr;
    const size_t chunk = data[0] == 0 ? size : data[0];
    data += 2;
    size -= 2;

    auto drain = [&c] {
        for (;;) {
            const size_t before = c.src.Taken();
            c.view.ReceiveDispatch();
            if (c.src.Taken() == before)
                return;
        }
    };
    for (size_t off = 0; off < size; off += chunk) {
        c.src.Append(data + off, std::min(chunk, size - off));
        drain();
    }
    c.src.SetClosed(true);
    drain();
    return 0;
}

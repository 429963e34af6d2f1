// Arbitrary bytes as text for the code converters and the text layer, and as
// a script of keys and characters for the edit line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/MouseState.h"
#include "core/Blit.h"
#include "core/HanCodeConv.h"
#include "core/TextLayer.h"
#include "fixtures/FontBuilder.h"
#include "fuzz_seeds.h"

namespace {

void WriteSeeds(const std::string& dir)
{
    WriteSeed(dir, "hangul", std::string("\x07") + "gksrmf dlqfur\x02\x03rt\x01k");
    WriteSeed(dir, "cp949", std::string("\x10") + "\xC7\xD1\xB1\xDB Tolmar\r\n\t\xB0\xA1");
    WriteSeed(dir, "johab", std::string("\x21") + "\x88\x81" "b{|}~\xD0\x65");
    WriteSeed(dir, "lone", std::string("\x05") + "ab\xC7");
}

CTextLayer* g_layer;

// Keys of the edit line by script byte 1..12.
constexpr uint8_t kKeys[] = {82, 83, 14, 75, 77, 71, 79, 15, 72, 76, 42, 29};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* seeds = std::getenv("QUORVEL_FUZZ_SEED_DIR"))
        WriteSeeds(seeds);
    g_layer = new CTextLayer(nullptr);
    const Bytes han = CFontBuilder::HangulFont();
    const Bytes eng = CFontBuilder::EnglishFont();
    g_layer->SetFontData(han.data(), han.size(), eng.data(), eng.size());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t ctl = data[0];
    // The text: exactly its bytes and a NUL, so any overrun is seen.
    auto text = std::make_unique<char[]>(size);
    std::memcpy(text.get(), data + 1, size - 1);
    text[size - 1] = '\0';
    auto out = std::make_unique<char[]>(size);
    CHanCodeConv::CP949ToJohab(text.get(), out.get());
    CHanCodeConv::JohabToCP949(out.get(), out.get());
    CHanCodeConv::HasFinalConsonant(text.get());
    uint8_t lead = data[0], trail = size > 1 ? data[1] : 0;
    CTextLayer::WansungToJohab(lead, trail);

    // Drawing on a small surface at a position from the control byte.
    std::vector<uint8_t> surface(48 * 24, 0);
    g_layer->SetTarget(surface.data(), 48, 24);
    g_layer->SetColor(ctl & 1);
    g_layer->SetColors(static_cast<uint8_t>(ctl | 1), (ctl & 2) ? 255 : 7);
    g_layer->DrawText((ctl % 64) - 32, ((ctl >> 2) % 32) - 16, text.get(), ctl & 4);

    // The edit line on a buffer of a capacity from the control byte.
    const int capacity = 1 + ctl % 40;
    auto buffer = std::make_unique<char[]>(static_cast<size_t>(capacity));
    std::memset(buffer.get(), 0, static_cast<size_t>(capacity));
    CTextLayer line(nullptr);
    line.SetInputText(buffer.get(), capacity);
    line.BeginInput(0, 0, (ctl >> 3) % 48);
    ResetInputState();
    for (size_t i = 1; i < size; ++i) {
        const uint8_t b = data[i];
        if (b >= 1 && b <= sizeof kKeys) {
            const uint8_t scan = kKeys[b - 1];
            g_keyState[scan] = !g_keyState[scan];
            g_lastKey = g_keyState[scan] ? scan : 0;
            line.HandleEditKeys();
        } else if (b == 0) {
            line.RequestModeSwitch();
        } else {
            line.OnEditChar(b);
        }
        const int len = line.GetInputLength();
        if (len < 0 || len >= capacity || line.GetCursor() < 0 || line.GetCursor() > len ||
            buffer[len] != '\0')
            __builtin_trap();
    }
    line.SetTarget(surface.data(), 48, 24);
    line.DrawEditLine();
    line.DrawPasswordLine();
    ResetInputState();
    ResetBlitContexts();
    return 0;
}

// Arbitrary received chat records through a 34-line window's OnChatMessage:
// byte 0 picks the language and the window's wrap length, the rest is the
// record (u16 sender id, 12-byte name, u8 mode, u16 text length, text) in a
// buffer of exactly its size, so a read past it is seen. An odd sender id is
// the player's own.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/ReceiveDispatch.h"
#include "platform/Settings.h"
#include "fuzz_seeds.h"
#include "ui/WidgetWindow.h"

namespace {

// A record: sender id, name padded to 12 bytes, mode, text.
std::string Record(uint16_t sender, const std::string& name, char mode, const std::string& text)
{
    std::string r;
    r += static_cast<char>(sender & 0xFF);
    r += static_cast<char>(sender >> 8);
    r += (name + std::string(12, '\0')).substr(0, 12);
    r += mode;
    r += static_cast<char>(text.size() & 0xFF);
    r += static_cast<char>(text.size() >> 8);
    return r + text;
}

void WriteSeeds(const std::string& dir)
{
    WriteSeed(dir, "public", "\x50" + Record(7, "Arin", 0, "hello there"));
    WriteSeed(dir, "whisper", "\x51" + Record(7, "Arin", 1, "Bram see you"));
    WriteSeed(dir, "whisper_nospace", "\x52" + Record(7, "Arin", 1, "Bram"));
    WriteSeed(dir, "absent", "\x53" + Record(0, "Cole", 'e', ""));
    WriteSeed(dir, "battle", "\x10" + Record(0, "", 'n', "Dana fights"));
    WriteSeed(dir, "hangul", "\x20" + Record(9, "\xB0\xA1\xB3\xAA\xB4\xD9\xB6\xF3\xB8\xB6\xB9\xD9", 2,
                                                 "\xC7\xD1\xB1\xDB \xB0\xA1"));
    WriteSeed(dir, "long", "\x07" + Record(9, "Eve", 3, std::string(600, 'x')));
    WriteSeed(dir, "short", "\x01" + Record(9, "Fay", 0, "truncated").substr(0, 9));
}

CWidgetWindow* g_window;
plat::CMemorySettings* g_settings;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* seeds = std::getenv("QUORVEL_FUZZ_SEED_DIR"))
        WriteSeeds(seeds);
    g_settings = new plat::CMemorySettings;
    plat::SetSettings(g_settings);
    g_window = new CWidgetWindow(2, nullptr, 0, 0, 0, 0, 34);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t ctl = data[0];
    g_settings->SetString("Control Panel\\International", "Locale", (ctl & 1) ? "00000409" : "00000412");
    // Wrap lengths 1..127, and the usual 80.
    g_window->SetMaxLen((ctl >> 1) == 0x40 ? 80 : 1 + (ctl >> 1));
    // An odd sender id is the player's own.
    g_myId = size > 2 && (data[1] & 1) ? static_cast<uint16_t>(data[1] | (data[2] << 8)) : 0;
    auto record = std::make_unique<uint8_t[]>(size - 1);
    std::memcpy(record.get(), data + 1, size - 1);
    g_window->OnChatMessage(record.get(), size - 1);

    char** lines = g_window->GetLines();
    if (lines[0][0] != '\0')
        __builtin_trap();
    for (int i = 0; i < g_window->GetLineCount(); ++i)
        if (strnlen(lines[i], CWidgetWindow::kLineSize) >= CWidgetWindow::kLineSize)
            __builtin_trap();
    return 0;
}

// The start-up's readers of outside text: the launcher's command line (with
// a lookup that knows one atom), the word filter and the check trailer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "app/GameData.h"
#include "app/HandOff.h"
#include "fixtures/ArchiveBuilder.h"
#include "fuzz_seeds.h"

namespace {

std::optional<std::string> Atom(uint16_t atom)
{
    if (atom == 4242)
        return std::string("gate-key");
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        WriteSeed(dir, "launcher", "tolmar gate-key 10.0.0.7 9100 x x x x ombrix 4242 1200");
        WriteSeed(dir, "short", "tolmar,a,b");
        WriteSeed(dir, "words", "fool\r\nABCDEFGHIJKLMNO\r\n\nlast");
        const Bytes t = CArchiveBuilder::WithTrailer(Bytes{1, 2, 3, 4, 5, 6, 7});
        WriteSeed(dir, "trailer", std::string(t.begin(), t.end()));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const HandOffResult r = ParseHandOff(text, "/opt/quorvel/quorvel", Atom);
    if (r.refusal == HandOffRefusal::None && (r.data.host.size() > kHandOffTokenMax || r.data.text.empty()))
        std::abort();

    size_t pos = 0;
    auto reader = [&](void* buf, size_t n) {
        const size_t take = std::min(n, size - pos);
        if (take)
            std::memcpy(buf, data + pos, take);
        pos += take;
        return take;
    };
    std::array<std::array<char, kInsultWordSize>, kInsultWordCount> words;
    ReadInsultWords(reader, words);
    for (const auto& w : words)
        if (std::find(w.begin(), w.end(), '\0') == w.end())
            std::abort();  // every entry stays terminated

    pos = 0;
    VerifyChecksumTrailer(static_cast<long>(size), reader);
    return 0;
}

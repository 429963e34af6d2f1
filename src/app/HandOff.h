// What the portal's launcher hands over on the command line, and the check
// of its eleven tokens.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct HandOffData {
    std::string marker;  // "tolmar" when the hand-off is valid, else empty
    std::string host;
    int port = 0;
    std::string text;    // sent raw to the server before anything else
};

extern HandOffData g_handOff;

// True when the connect step takes the hand-off path.
bool IsHandOffPath();

// Why a hand-off command line was refused.
enum class HandOffRefusal {
    None,         // accepted
    Silent,       // token 0 is not "tolmar": end without a word
    Count,        // not eleven tokens, or a token too long for its slot
    Atom,         // the launcher's atom is unknown
    Content,      // token 8 is not "ombrix", or the atom number is not positive
    Browser,      // token 1 differs from the atom's text
    Version,      // launcher version below 1000
};

struct HandOffResult {
    HandOffRefusal refusal = HandOffRefusal::None;
    HandOffData data;  // filled only when accepted
};

using AtomLookup = std::function<std::optional<std::string>(uint16_t)>;

// Each token of the command line had a 20-byte slot.
constexpr size_t kHandOffTokenMax = 19;
constexpr size_t kHandOffTokens = 11;

// Checks a non-empty launcher command line. exePath is the program's own
// path; the hand-off text names "Tolmar.exe" in its directory.
HandOffResult ParseHandOff(const std::string& cmdline, const std::string& exePath,
                           const AtomLookup& lookup);

// The message box text of a refusal (CP949); empty for None and Silent.
const char* HandOffMessage(HandOffRefusal refusal);

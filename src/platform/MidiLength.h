// The playing time of a standard MIDI file: from its start to its last
// event, through its tempo changes. The sequencer reports a song's end at
// that time rather than when the synthesiser has fallen silent.
#pragma once
#include <cstddef>
#include <cstdint>

namespace plat {

// False when the bytes are not a well-formed MIDI file.
bool MidiLengthMs(const uint8_t* data, size_t size, uint32_t& ms);

}  // namespace plat

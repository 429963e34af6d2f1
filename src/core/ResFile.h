// The resource archive. Minimal form: the music files the game extracts at
// start and deletes at exit; reading entries is still to come.
#pragma once

// Extracts the MIDI files into the process's runtime directory; 1 on success.
int ExtractMusicFiles();
void DeleteMusicFiles();

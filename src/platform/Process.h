// The process: its command line, its executable and its private directories.
#pragma once
#include <string>
#include <vector>

namespace plat {

// Stores argv; the command line is argv[1..] joined with single blanks
// (empty without arguments), as the game received it on Windows.
void SetCommandLine(int argc, const char* const* argv);
void SetCommandLine(const std::string& line);
const std::string& CommandLine();

// The real path of the running executable, and its directory.
std::string ExePath();
std::string ExeDir();

// A directory private to this process (mode 0700) for files the game
// extracts and deletes at exit; created on first use, empty when that fails.
std::string RuntimeDir();
// RuntimeDir when it has been made and not removed, else empty; never
// makes it.
std::string ExistingRuntimeDir();
// Removes RuntimeDir if it was created and is empty.
void RemoveRuntimeDir();

// Where the game keeps the player's own files: $XDG_DATA_HOME/quorvel when
// that is an absolute path, else ~/.local/share/quorvel. Not created here.
std::string DataDir();
// Points DataDir elsewhere (the headless platform, tests); empty puts the
// default back.
void SetDataDir(const std::string& dir);
bool DataDirIsSet();
// Creates dir and its parents as needed, new ones with mode 0700.
bool MakeDirs(const std::string& dir);
// Replaces the file at path with data through a temporary file and a
// rename, making its directory first; on failure the old file stays.
bool ReplaceFile(const std::string& path, const std::string& data);

// Asks the desktop to keep the screen saver off.
void DisableScreenSaver();

}  // namespace plat

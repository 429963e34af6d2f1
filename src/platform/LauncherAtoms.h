// The portal launcher's global atoms: a 16-bit number the launcher passes on
// the command line and the text it registered under that number.
//
// On Linux the launcher publishes atom N either in the environment variable
// QUORVEL_ATOM_N or in the file "$XDG_RUNTIME_DIR/quorvel-atoms/N" (the first
// line; at most 255 bytes are read). The variable wins when both exist.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace plat {

class ILauncherAtoms {
public:
    virtual ~ILauncherAtoms() = default;
    // The atom's text; nothing for atom 0 or an atom nobody registered.
    virtual std::optional<std::string> Lookup(uint16_t atom) = 0;
};

// The environment-and-file source described above.
class CEnvLauncherAtoms : public ILauncherAtoms {
public:
    std::optional<std::string> Lookup(uint16_t atom) override;
};

ILauncherAtoms& LauncherAtoms();
void SetLauncherAtoms(ILauncherAtoms* atoms);  // null restores CEnvLauncherAtoms

}  // namespace plat

// Device-independent bitmaps read from the archive (CDib) and the PCX
// screenshots of the back buffer.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CDib {
public:
    struct PaletteEntry {
        uint8_t red = 0, green = 0, blue = 0, flags = 0;
    };

    CDib() = default;
    // Reads the named archive entry. A missing, short or damaged bitmap
    // leaves an empty CDib of size 0 x 0.
    explicit CDib(const char* name);
    virtual ~CDib();

    // Everything after the 14-byte file header (info header, colours, bits);
    // empty when nothing was read.
    const std::vector<uint8_t>& GetBits() const { return m_bits; }
    const std::vector<PaletteEntry>& GetPalette() const { return m_palette; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    const std::string& GetName() const { return m_name; }

    // Parses a whole .bmp file held in memory: false (and empty) when it is
    // not a bitmap this program understands.
    bool Parse(const uint8_t* data, size_t size);

private:
    std::vector<uint8_t> m_bits;
    std::vector<PaletteEntry> m_palette;
    int m_width = 0;
    int m_height = 0;
    std::string m_name;
};

// The PCX file of an 8-bit picture with its 256 RGB colours: 1, or 0 when it
// could not be written (a partial file is removed). exclusive: fail rather
// than replace an existing file.
int WritePcx(const uint8_t* pixels, int width, int height, int pitch, const uint8_t* rgb768,
             const std::string& path, bool exclusive = false);

// The PCX rows: each row coded on its own, runs of at most 63.
void EncodePcxRow(const uint8_t* row, int width, std::vector<uint8_t>& out);

// Saves the 800 x 600 screen. With a name, writes that file. Without, takes
// the next free "Quorvel Screen Shot No. %2d .pcx" in the current directory
// (numbering goes on after the highest already there) and sets *announce to
// the line for the message ring: the file's name, or a failure notice. 1 when
// saved.
int TakeScreenShot(const uint8_t* pixels, const uint8_t* rgb768, const char* name, std::string* announce);

// The screenshot key: a shot unless, for a player who is not a game master,
// fewer than 10,001 ms have passed since the previous one. 1 when saved.
int ScreenShotKey(const uint8_t* pixels, const uint8_t* rgb768, bool gameMaster, std::string* announce);

// Forget the shot counter and the key's last time (tests).
void ResetScreenShots();

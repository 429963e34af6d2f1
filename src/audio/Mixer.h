// The music volume control. It is the game's own volume for its music
// stream; the desktop's volume is never read or changed.
#pragma once
#include <cstdint>
#include <string>

class CMixer {
public:
    CMixer() = default;
    ~CMixer();
    CMixer(const CMixer&) = delete;
    CMixer& operator=(const CMixer&) = delete;

    // 1 when the control device opened, and also when there is none (then
    // every volume request fails).
    int Open();
    // Finds the music line's volume control; 1 on success.
    int FindVolumeControl();
    // Sets the control, clamped to its range; 1 on success.
    int SetVolume(uint32_t value);
    // The control's value; 0 when it cannot be read.
    uint32_t GetVolume();
    int Close();

    int GetDeviceCount() const { return m_numDevs; }
    bool IsOpen() const { return m_handle != 0; }

private:
    int m_numDevs = 0;
    uint32_t m_handle = 0;
    std::string m_productName;
    std::string m_lineName;
    std::string m_controlName;
    uint32_t m_minimum = 0;
    uint32_t m_maximum = 0;
    uint32_t m_controlId = 0;
};

extern CMixer g_mixer;

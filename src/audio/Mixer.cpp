#include "audio/Mixer.h"

#include <algorithm>

#include "platform/Music.h"

CMixer g_mixer;

namespace {
// The one control there is: the music stream's volume.
constexpr uint32_t kMusicControlId = 1;
}  // namespace

CMixer::~CMixer()
{
    Close();
}

int CMixer::Open()
{
    m_numDevs = plat::Music().VolumeControls();
    m_handle = 0;
    m_productName.clear();
    if (m_numDevs == 0)
        return 1;
    m_handle = 1;
    m_productName = "Quorvel music";
    return 1;
}

int CMixer::FindVolumeControl()
{
    m_lineName.clear();
    m_controlName.clear();
    if (!m_handle)
        return 0;
    m_lineName = "Music";
    m_controlName = "Volume";
    m_minimum = 0;
    m_maximum = plat::kMusicVolumeMax;
    m_controlId = kMusicControlId;
    return 1;
}

int CMixer::SetVolume(uint32_t value)
{
    if (!m_handle || m_lineName.empty() || m_controlName.empty())
        return 0;
    value = std::clamp(value, m_minimum, m_maximum);
    return plat::Music().SetVolume(value) ? 1 : 0;
}

uint32_t CMixer::GetVolume()
{
    if (!m_handle || m_lineName.empty() || m_controlName.empty())
        return 0;
    return plat::Music().GetVolume();
}

int CMixer::Close()
{
    m_handle = 0;
    return 1;
}

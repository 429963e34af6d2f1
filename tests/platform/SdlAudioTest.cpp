// The real SDL2_mixer backend, on SDL's disk audio driver: what the mixer
// produces is written to a file that the tests read back.
#if defined(QUORVEL_HAVE_SDL)
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "fixtures/MidiWriter.h"
#include "fixtures/TempDir.h"
#include "fixtures/WaveWriter.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Loop.h"
#include "platform/Mci.h"
#include "platform/Music.h"
#include "platform/Sound.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlMusicDevice.h"
#include "platform/sdl/SdlSoundDevice.h"

namespace {

class SdlAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetClock(nullptr);
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", Output().c_str(), 1);
    }

    std::string Output() const { return m_dir.File("mixed.raw"); }
    size_t OutputBytes() const
    {
        struct stat st{};
        return ::stat(Output().c_str(), &st) == 0 ? static_cast<size_t>(st.st_size) : 0;
    }
    // The largest sample magnitude of the 16-bit output from byte `from` on.
    int Peak(size_t from, size_t to = SIZE_MAX) const
    {
        std::ifstream in(Output(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        int peak = 0;
        to = std::min(to, bytes.size());
        for (size_t i = from & ~size_t{1}; i + 1 < to; i += 2) {
            const int16_t s = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                                   (static_cast<uint8_t>(bytes[i + 1]) << 8));
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        return peak;
    }
    static bool WaitUntil(const std::function<bool()>& done, uint32_t ms)
    {
        const uint32_t start = plat::NowMs();
        while (!done()) {
            if (plat::NowMs() - start > ms)
                return false;
            plat::Sleep(5);
        }
        return true;
    }

    CTempDir m_dir;
};

// Ends the loop's wait for the song: counts the end-of-song notices.
class CNoticeCounter : public plat::IMessageTarget {
public:
    void OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override
    {
        if (msg == plat::kMmMciNotify && wParam == plat::kMciNotifySuccessful) {
            ++notices;
            device = lParam;
        }
    }
    int notices = 0;
    intptr_t device = 0;
};

}  // namespace

TEST_F(SdlAudioTest, PlaysAGeneratedToneAtTheGivenGain)
{
    plat::CSdlAudio audio;
    plat::CSdlSoundDevice sound(audio);
    ASSERT_TRUE(sound.Open()) << "the disk audio driver did not open";
    EXPECT_FALSE(sound.CreatePrimary3D());

    // 8-bit stereo at 11025 Hz and 16-bit mono at 22050 Hz, both converted
    // to the mixer's format on load; half of full scale.
    const plat::PcmFormat mono16{1, 1, 22050, 44100, 2, 16};
    const plat::PcmFormat stereo8{1, 2, 11025, 22050, 2, 8};
    const Bytes tone16 = CWaveWriter::Tone(22050, 1, 16, 150, 440.0, 0.5);
    const Bytes tone8 = CWaveWriter::Tone(11025, 2, 8, 150, 440.0, 0.5);
    auto loud = sound.CreateBuffer(mono16, static_cast<uint32_t>(tone16.size()), false);
    auto quiet = sound.CreateBuffer(stereo8, static_cast<uint32_t>(tone8.size()), false);
    ASSERT_TRUE(loud && quiet);
    EXPECT_FALSE(loud->Write(tone16.data(), tone16.size() - 2));  // not the created length
    ASSERT_TRUE(loud->Write(tone16.data(), tone16.size()));
    ASSERT_TRUE(quiet->Write(tone8.data(), tone8.size()));
    EXPECT_FALSE(loud->SetVolume(1));
    ASSERT_TRUE(loud->SetVolume(0));
    ASSERT_TRUE(quiet->SetVolume(-2000));  // a tenth

    const size_t loudFrom = OutputBytes();
    ASSERT_TRUE(loud->Play(false));
    EXPECT_TRUE(loud->IsPlaying());
    ASSERT_TRUE(WaitUntil([&] { return !loud->IsPlaying(); }, 5000));
    plat::Sleep(100);
    const size_t quietFrom = OutputBytes();
    ASSERT_TRUE(quiet->Play(false));
    ASSERT_TRUE(WaitUntil([&] { return !quiet->IsPlaying(); }, 5000));
    plat::Sleep(100);
    const size_t quietTo = OutputBytes();

    // Stop holds the place, rewind goes back to the start.
    ASSERT_TRUE(loud->Play(true));
    EXPECT_TRUE(loud->Stop());
    EXPECT_FALSE(loud->IsPlaying());
    EXPECT_TRUE(loud->Rewind());
    EXPECT_FALSE(loud->IsPlaying());

    loud.reset();
    quiet.reset();
    sound.Shutdown();
    audio.Close();

    const int loudPeak = Peak(loudFrom, quietFrom);
    const int quietPeak = Peak(quietFrom, quietTo);
    EXPECT_GT(loudPeak, 14000);
    EXPECT_LT(loudPeak, 19000);
    EXPECT_GT(quietPeak, 1200);
    EXPECT_LT(quietPeak, 2100);
}

TEST_F(SdlAudioTest, PlaysAGeneratedMidiSongAndReportsItsEnd)
{
    const std::string song = m_dir.File("tune.mid");
    {
        const Bytes midi = MakeMidiFile({72, 76, 79}, 12);
        std::ofstream(song, std::ios::binary).write(reinterpret_cast<const char*>(midi.data()),
                                                     static_cast<std::streamsize>(midi.size()));
    }
    plat::CSdlAudio audio;
    plat::CSdlMusicDevice music(audio);
    plat::SetMusicDevice(&music);
    ASSERT_EQ(music.VolumeControls(), 1);
    EXPECT_TRUE(music.SetVolume(plat::kMusicVolumeMax));

    CNoticeCounter target;
    const size_t from = OutputBytes();
    ASSERT_EQ(plat::MciSendString("open " + song + " type sequencer alias MUSIC"), 0)
        << "no MIDI: is fluid-soundfont-gm installed (scripts/install-deps)?";
    ASSERT_EQ(plat::MciSendString("play MUSIC from 0 notify", &target), 0);
    const uint32_t started = plat::NowMs();
    const intptr_t device = plat::Mci().OpenDeviceId();
    EXPECT_TRUE(WaitUntil(
        [&] {
            plat::Loop().Step();
            return target.notices > 0;
        },
        20000));
    EXPECT_EQ(target.notices, 1);
    EXPECT_EQ(target.device, device);
    // The song is 187 ms long. The end comes with its last note, not when
    // the synthesiser falls silent seconds later.
    EXPECT_GE(plat::NowMs() - started, 150u);
    EXPECT_LT(plat::NowMs() - started, 1500u);

    // Played again, then closed before its end: no notice comes.
    ASSERT_EQ(plat::MciSendString("play MUSIC from 0 notify", &target), 0);
    plat::Sleep(50);
    ASSERT_EQ(plat::MciSendString("close all"), 0);
    plat::Sleep(50);
    plat::Loop().Step();
    EXPECT_EQ(target.notices, 1);

    // A file that is not MIDI is refused.
    const std::string wave = m_dir.File("noise.mid");
    {
        const Bytes bytes = CWaveWriter::SimpleWave(50);
        std::ofstream(wave, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    }
    EXPECT_EQ(plat::MciSendString("open " + wave + " type sequencer alias MUSIC"), plat::kMciErrInvalidFile);

    plat::SetMusicDevice(nullptr);
    music.Shutdown();
    audio.Close();
    plat::Loop().Reset();
    EXPECT_GT(Peak(from), 1000) << "the synthesiser produced silence";
}

TEST_F(SdlAudioTest, WithoutADeviceEverythingIsRefused)
{
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    plat::CSdlAudio audio;
    plat::CSdlSoundDevice sound(audio);
    plat::CSdlMusicDevice music(audio);
    EXPECT_FALSE(sound.Open());
    EXPECT_FALSE(sound.Open());  // said once, not retried
    EXPECT_EQ(sound.CreateBuffer(plat::PcmFormat{1, 1, 22050, 44100, 2, 16}, 100, false), nullptr);
    EXPECT_FALSE(music.Open(m_dir.File("x.mid")));
    EXPECT_EQ(music.VolumeControls(), 0);
    EXPECT_FALSE(music.SetVolume(100));
}
#endif

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "app/MainFrame.h"
#include "app/QuillonApp.h"
#include "audio/MusicPlayer.h"
#include "audio/SoundManager.h"
#include "fixtures/MidiWriter.h"
#include "platform/Input.h"
#include "platform/Loop.h"
#include "platform/Process.h"
#include "support/Harness.h"

namespace {

bool Exists(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0;
}

int Count(plat::CRecordingMusicDevice& music, plat::MusicCall::Kind kind)
{
    int n = 0;
    for (const plat::MusicCall& c : music.Calls())
        n += c.kind == kind;
    return n;
}

}  // namespace

// The view starts the sound manager and the music volume when it is
// created, the frame's message filter loops the song, and the tear-down
// stops and closes everything.
TEST(AudioStartUp, ViewStartsLoopsAndStopsTheAudio)
{
    CHarness h;
    ASSERT_TRUE(h.Start());
    plat::Loop().SetIdleHandler(nullptr);  // no connecting: only messages
    EXPECT_EQ(CSoundManager::IsEnabled(), 1);
    EXPECT_EQ(CSoundManager::Is3DAvailable(), 1);
    EXPECT_TRUE(h.Platform().sound.opened);
    EXPECT_TRUE(g_mixer.IsOpen());

    const std::string song = plat::RuntimeDir() + "/Ext.mid";
    {
        const Bytes midi = MakeMidiFile({60});
        std::FILE* f = std::fopen(song.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(midi.data(), 1, midi.size(), f);
        std::fclose(f);
    }
    // What the first frame does before the stage music starts.
    g_musicPlayer.SetNotifyWindow(theApp.m_pMainWnd);
    g_musicPlayer.SetVolume(50);
    EXPECT_EQ(h.Platform().music.volume, 32750u);
    ASSERT_EQ(g_musicPlayer.Play("Ext.mid"), 1);
    ASSERT_TRUE(h.Platform().music.Finish());
    h.Step();
    EXPECT_EQ(Count(h.Platform().music, plat::MusicCall::Play), 2);
    EXPECT_TRUE(h.Platform().music.IsPlaying());

    // A notice of another kind does nothing.
    plat::Loop().PostMessage(theApp.m_pMainWnd, plat::kMmMciNotify, 4 /* aborted */, 1);
    h.Step();
    EXPECT_EQ(Count(h.Platform().music, plat::MusicCall::Play), 2);

    theApp.m_pMainWnd->DestroyWindow();
    EXPECT_FALSE(h.Platform().music.IsPlaying());
    EXPECT_EQ(Count(h.Platform().music, plat::MusicCall::Close), 1);
    EXPECT_EQ(h.Platform().music.volume, 0u);
    EXPECT_FALSE(Exists(song));
    EXPECT_FALSE(g_mixer.IsOpen());
}

TEST(AudioStartUp, WithoutAnAudioDeviceTheGameGoesOnSilent)
{
    CHarness h;
    h.Platform().sound.openResult = false;
    h.Platform().music.openResult = false;
    h.Platform().music.volumeControls = 0;
    ASSERT_TRUE(h.Start());
    plat::Loop().SetIdleHandler(nullptr);
    EXPECT_EQ(CSoundManager::IsEnabled(), 0);
    EXPECT_NE(h.DebugText().find("sound: 2"), std::string::npos);
    EXPECT_EQ(g_soundManager.PlayAt("printscreen.wav", 0, 0), 0);
    EXPECT_EQ(g_musicPlayer.Play("Ext.mid"), 0);
    EXPECT_TRUE(h.Step());
    EXPECT_TRUE(h.Boxes().empty());
}

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "audio/Mixer.h"
#include "audio/MusicPlayer.h"
#include "core/ResFile.h"
#include "fixtures/MidiWriter.h"
#include "platform/Input.h"
#include "platform/Loop.h"
#include "platform/Mci.h"
#include "platform/Process.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

using plat::MusicCall;

// Restarts the music on the end-of-song notice, as the application's
// message filter does.
class CRestarter : public plat::IMessageTarget {
public:
    explicit CRestarter(CMusicPlayer& player) : m_player(player) {}
    void OnMessage(uint32_t msg, uintptr_t wParam, intptr_t) override
    {
        if (msg == plat::kMmMciNotify && wParam == plat::kMciNotifySuccessful) {
            ++notices;
            m_player.Restart();
        }
    }
    int notices = 0;

private:
    CMusicPlayer& m_player;
};

class MusicPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"Ext.mid", "Summer1.mid", "My Song.mid"}) {
            const std::string path = plat::RuntimeDir() + "/" + name;
            std::FILE* f = std::fopen(path.c_str(), "wb");
            ASSERT_NE(f, nullptr);
            const Bytes midi = MakeMidiFile({60, 64, 67});
            std::fwrite(midi.data(), 1, midi.size(), f);
            std::fclose(f);
        }
        plat::Mci().SetTrace([this](const std::string& s) { m_sent.push_back(s); });
        m_player.SetNotifyWindow(&m_restarter);
    }
    void TearDown() override
    {
        m_player.Reset();
        plat::Mci().SetTrace({});
        g_mixer.Close();
        std::remove((plat::RuntimeDir() + "/My Song.mid").c_str());
        DeleteMusicFiles();
        plat::RemoveRuntimeDir();
    }

    int Plays()
    {
        int n = 0;
        for (const MusicCall& c : Music().Calls())
            n += c.kind == MusicCall::Play;
        return n;
    }
    plat::CRecordingMusicDevice& Music() { return m_platform.music; }
    void Deliver() { plat::Loop().Step(); }

    plat::CHeadlessPlatform m_platform;
    CMusicPlayer m_player;
    CRestarter m_restarter{m_player};
    std::vector<std::string> m_sent;
};

}  // namespace

TEST_F(MusicPlayerTest, SendsTheCommandStringsInOrder)
{
    EXPECT_EQ(m_player.Play(), 0);
    EXPECT_TRUE(m_sent.empty());
    EXPECT_TRUE(Music().Calls().empty());

    EXPECT_EQ(m_player.Play("Ext.mid"), 1);
    EXPECT_EQ(m_sent, (std::vector<std::string>{"close all", "open Ext.mid type sequencer alias MUSIC",
                                                 "play MUSIC from 0 notify"}));
    EXPECT_TRUE(m_player.IsPlaying());
    auto calls = Music().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, MusicCall::Open);
    EXPECT_EQ(calls[0].path, plat::RuntimeDir() + "/Ext.mid");
    EXPECT_EQ(calls[1].kind, MusicCall::Play);
    EXPECT_EQ(calls[1].value, 1u);

    m_sent.clear();
    EXPECT_EQ(m_player.Stop(), 1);
    EXPECT_FALSE(m_player.IsPlaying());
    EXPECT_EQ(m_player.Resume(), 1);
    EXPECT_TRUE(m_player.IsPlaying());
    EXPECT_EQ(m_player.Restart(), 1);
    EXPECT_EQ(m_player.Close(), 1);
    EXPECT_FALSE(m_player.IsPlaying());
    EXPECT_EQ(m_sent, (std::vector<std::string>{"stop MUSIC", "play MUSIC notify", "play MUSIC from 0 notify",
                                                 "close all"}));

    // The stored name is played again without one.
    m_sent.clear();
    EXPECT_EQ(m_player.SetFileName("Summer1.mid"), 1);
    EXPECT_TRUE(m_sent.empty());
    EXPECT_EQ(m_player.Play(), 1);
    EXPECT_EQ(m_sent[1], "open Summer1.mid type sequencer alias MUSIC");
}

TEST_F(MusicPlayerTest, FinishedSongIsRestartedFromTheStart)
{
    ASSERT_EQ(m_player.Play("Ext.mid"), 1);
    ASSERT_TRUE(Music().Finish());
    Deliver();
    EXPECT_EQ(m_restarter.notices, 1);
    EXPECT_EQ(Plays(), 2);
    EXPECT_EQ(Music().Calls().back().value, 1u);  // from the start
    EXPECT_TRUE(Music().IsPlaying());

    // The end reported from the audio thread.
    std::thread([this] { Music().Finish(); }).join();
    Deliver();
    EXPECT_EQ(m_restarter.notices, 2);
    EXPECT_EQ(Plays(), 3);
    // One notice per end.
    Deliver();
    EXPECT_EQ(m_restarter.notices, 2);
}

TEST_F(MusicPlayerTest, StaleNoticeNeverRestartsTheOldSong)
{
    // The end is posted, then the song changes before it is delivered.
    ASSERT_EQ(m_player.Play("Ext.mid"), 1);
    ASSERT_TRUE(Music().Finish());
    ASSERT_EQ(m_player.Play("Summer1.mid"), 1);
    Deliver();
    EXPECT_EQ(m_restarter.notices, 0);
    EXPECT_EQ(Plays(), 2);
    EXPECT_EQ(Music().Calls().back().kind, MusicCall::Play);

    // Closed while the notice waits.
    ASSERT_TRUE(Music().Finish());
    ASSERT_EQ(m_player.Close(), 1);
    Deliver();
    EXPECT_EQ(m_restarter.notices, 0);

    // Stopped: the pending notice is cancelled too, and a stop itself
    // gives none.
    ASSERT_EQ(m_player.Play("Ext.mid"), 1);
    ASSERT_TRUE(Music().Finish());
    ASSERT_EQ(m_player.Stop(), 1);
    Deliver();
    EXPECT_EQ(m_restarter.notices, 0);
    EXPECT_EQ(plat::Loop().PendingMessages(), 0u);

    // And the new song still loops.
    ASSERT_EQ(m_player.Play("Summer1.mid"), 1);
    ASSERT_TRUE(Music().Finish());
    Deliver();
    EXPECT_EQ(m_restarter.notices, 1);
}

TEST_F(MusicPlayerTest, CommandErrorsLeaveTheStateAlone)
{
    EXPECT_EQ(m_player.Restart(), 0);  // nothing open
    EXPECT_FALSE(m_player.IsPlaying());
    EXPECT_EQ(m_player.Play("Missing.mid"), 0);
    EXPECT_FALSE(m_player.IsPlaying());
    EXPECT_EQ(m_player.GetFileName(), "Missing.mid");

    Music().openResult = false;  // no synthesiser
    EXPECT_EQ(m_player.Play("Ext.mid"), 0);
    EXPECT_FALSE(m_player.IsPlaying());
    Music().openResult = true;

    ASSERT_EQ(m_player.Play("Ext.mid"), 1);
    EXPECT_EQ(m_player.Play("Missing.mid"), 0);
    EXPECT_TRUE(m_player.IsPlaying());  // unchanged, though the old song was closed
    EXPECT_EQ(m_player.Stop(), 0);
}

TEST_F(MusicPlayerTest, VolumeGoesToTheGamesOwnMusicControl)
{
    ASSERT_EQ(g_mixer.Open(), 1);
    ASSERT_EQ(g_mixer.FindVolumeControl(), 1);
    m_player.SetVolume(100);
    EXPECT_EQ(m_player.GetVolume(), 100);
    EXPECT_EQ(Music().volume, 65500u);
    m_player.SetVolume(50);
    EXPECT_EQ(Music().volume, 32750u);
    EXPECT_EQ(g_mixer.GetVolume(), 32750u);
    m_player.SetVolume(0);
    EXPECT_EQ(Music().volume, 0u);
    // Clamped to the control's range.
    m_player.SetVolume(150);
    EXPECT_EQ(Music().volume, 65535u);
    m_player.SetVolume(-5);
    EXPECT_EQ(Music().volume, 0u);

    // Closed, or without a control found, nothing is set.
    ASSERT_EQ(g_mixer.Close(), 1);
    EXPECT_EQ(g_mixer.SetVolume(100), 0);
    CMixer fresh;
    ASSERT_EQ(fresh.Open(), 1);
    EXPECT_EQ(fresh.SetVolume(100), 0);
}

TEST_F(MusicPlayerTest, WithoutAVolumeControlEveryRequestFails)
{
    Music().volumeControls = 0;
    EXPECT_EQ(g_mixer.Open(), 1);
    EXPECT_EQ(g_mixer.FindVolumeControl(), 0);
    EXPECT_EQ(g_mixer.SetVolume(1000), 0);
    m_player.SetVolume(80);
    EXPECT_EQ(m_player.GetVolume(), 80);
    for (const MusicCall& c : Music().Calls())
        EXPECT_NE(c.kind, MusicCall::Volume);
}

TEST_F(MusicPlayerTest, MciStringsFollowTheGrammar)
{
    using plat::MciSendString;
    EXPECT_EQ(MciSendString("OPEN Ext.mid TYPE Sequencer ALIAS tune"), 0);
    EXPECT_EQ(MciSendString("open Summer1.mid type sequencer alias MUSIC"), plat::kMciErrSequencerInUse);
    EXPECT_EQ(MciSendString("open Ext.mid alias TUNE"), plat::kMciErrDeviceOpen);
    EXPECT_EQ(MciSendString("play TUNE from 0 notify", &m_restarter), 0);
    EXPECT_EQ(MciSendString("play other"), plat::kMciErrInvalidDeviceName);
    EXPECT_EQ(MciSendString("play tune from 1500"), plat::kMciErrOutOfRange);
    EXPECT_EQ(MciSendString("play tune wait"), plat::kMciErrUnrecognizedKeyword);
    EXPECT_EQ(MciSendString("seek tune to start"), plat::kMciErrUnrecognizedCommand);
    EXPECT_EQ(MciSendString(""), plat::kMciErrUnrecognizedCommand);
    EXPECT_EQ(MciSendString("close Tune"), 0);
    EXPECT_EQ(plat::Mci().OpenDeviceId(), 0u);
    EXPECT_EQ(MciSendString("stop tune"), plat::kMciErrInvalidDeviceName);

    EXPECT_EQ(MciSendString("open \"My Song.mid\" type sequencer alias MUSIC"), 0);
    EXPECT_EQ(Music().Calls().back().path, plat::RuntimeDir() + "/My Song.mid");
    EXPECT_EQ(MciSendString("close all"), 0);
    EXPECT_EQ(MciSendString("open Ext.mid type waveaudio alias MUSIC"), plat::kMciErrInvalidDeviceName);
    EXPECT_EQ(MciSendString("open"), plat::kMciErrMissingParameter);
    EXPECT_EQ(MciSendString("open " + plat::RuntimeDir() + "/Ext.mid alias x"), 0);
    EXPECT_EQ(MciSendString("close all"), 0);

    // Only standard MIDI files open.
    const std::string notMidi = plat::RuntimeDir() + "/Outer.mid";
    std::FILE* f = std::fopen(notMidi.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("RIFF....WAVEfmt ", f);
    std::fclose(f);
    EXPECT_EQ(MciSendString("open Outer.mid type sequencer alias MUSIC"), plat::kMciErrInvalidFile);
    std::remove(notMidi.c_str());
    EXPECT_EQ(Music().Calls().back().kind, MusicCall::Close);
}

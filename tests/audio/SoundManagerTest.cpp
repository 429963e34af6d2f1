#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "audio/SoundManager.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/WaveWriter.h"
#include "platform/headless/HeadlessPlatform.h"

namespace {

using plat::SoundCall;

// 17 sounds of 100 ms ("s0.wav".."s16.wav"), a longer one and a broken one,
// on the recording device and the virtual clock.
class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CArchiveBuilder b;
        for (int i = 0; i <= 16; ++i)
            b.Add("s" + std::to_string(i) + ".wav", CWaveWriter::SimpleWave(100));
        b.Add("long.wav", CWaveWriter::SimpleWave(1000));
        b.Add("broken.wav", std::string_view("RIFF\x04\0\0\0WAVE", 12));
        m_archive = std::make_unique<CTestArchive>(b);
        m_manager.Reset();
    }
    void TearDown() override { m_manager.Reset(); }

    plat::CRecordingSoundDevice& Device() { return m_platform.sound; }
    int Creates() { return Device().Count(SoundCall::Create); }
    int SlotsPlaying()
    {
        int n = 0;
        for (int i = 0; i < CSoundManager::kSlotCount; ++i)
            if (CSoundBuffer* s = m_manager.GetSlot(i); s && s->IsPlaying())
                ++n;
        return n;
    }

    plat::CHeadlessPlatform m_platform;
    std::unique_ptr<CTestArchive> m_archive;
    CSoundManager m_manager;
};

}  // namespace

TEST_F(SoundManagerTest, InitReportsWhatTheDeviceCanDo)
{
    EXPECT_EQ(m_manager.Init(), 1);
    EXPECT_EQ(CSoundManager::IsEnabled(), 1);
    EXPECT_EQ(CSoundManager::Is3DAvailable(), 1);
    EXPECT_EQ(Device().Count(SoundCall::DistanceFactor), 1);
    EXPECT_FLOAT_EQ(Device().calls.back().x, 0.001f);

    Device().listenerResult = false;
    EXPECT_EQ(m_manager.Init(), 4);
    EXPECT_EQ(CSoundManager::Is3DAvailable(), 0);
    EXPECT_EQ(m_manager.GetLastError(), "Direct 3D Sound Listener Disabled!");

    Device().primaryResult = false;
    EXPECT_EQ(m_manager.Init(), 3);
    EXPECT_EQ(CSoundManager::IsEnabled(), 1);
    // Without 3D a positioned sound still plays, unpositioned.
    EXPECT_EQ(m_manager.PlayAt("s0.wav", 10, 20), 1);
    EXPECT_EQ(Device().Count(SoundCall::Play), 1);
    EXPECT_EQ(Device().Count(SoundCall::Position), 0);

    Device().openResult = false;
    EXPECT_EQ(m_manager.Init(), 2);
    EXPECT_EQ(CSoundManager::IsEnabled(), 0);
    EXPECT_EQ(m_manager.GetLastError(), "Direct Sound Initialize Failed!");
    // Silent from now on: nothing is loaded.
    const int creates = Creates();
    EXPECT_EQ(m_manager.PlayAt("s1.wav", 0, 0), 0);
    EXPECT_EQ(Creates(), creates);
}

TEST_F(SoundManagerTest, SameNameOverlapsThenReusesWithoutReload)
{
    ASSERT_EQ(m_manager.Init(), 1);
    EXPECT_EQ(m_manager.PlayAt("s0.wav", 0, 0), 1);
    EXPECT_EQ(m_manager.PlayAt("s0.wav", 0, 0), 1);
    EXPECT_EQ(Creates(), 2);
    ASSERT_NE(m_manager.GetSlot(1), nullptr);
    EXPECT_EQ(m_manager.GetSlot(1)->GetName(), "s0.wav");

    // The first one ends: it is taken again, not reloaded.
    Device().Finish(1);
    EXPECT_EQ(m_manager.PlayAt("s0.wav", 0, 0), 1);
    EXPECT_EQ(Creates(), 2);
    EXPECT_EQ(Device().Count(SoundCall::Play, 1), 2);
    // Stopped and rewound before it starts again.
    ASSERT_GE(Device().calls.size(), 3u);
    const auto& c = Device().calls;
    EXPECT_EQ(c[c.size() - 1].kind, SoundCall::Play);
    EXPECT_EQ(c[c.size() - 2].kind, SoundCall::Position);
    EXPECT_EQ(c[c.size() - 3].kind, SoundCall::Enable3D);
    EXPECT_EQ(c[c.size() - 4].kind, SoundCall::Rewind);
    EXPECT_EQ(c[c.size() - 5].kind, SoundCall::Stop);

    // Both end with time and are free again. The cache matches names
    // exactly: another spelling is loaded anew (the archive finds it).
    m_platform.clock.Advance(100);
    EXPECT_EQ(SlotsPlaying(), 0);
    EXPECT_EQ(m_manager.PlayAt("S0.WAV", 0, 0), 1);
    EXPECT_EQ(Creates(), 3);
    EXPECT_EQ(m_manager.GetSlot(2)->GetName(), "S0.WAV");
}

TEST_F(SoundManagerTest, SeventeenthAtTheListenerIsDropped)
{
    ASSERT_EQ(m_manager.Init(), 1);
    for (int i = 0; i < 16; ++i)
        ASSERT_EQ(m_manager.PlayAt("s" + std::to_string(i) + ".wav", 0, 0), 1);
    EXPECT_EQ(SlotsPlaying(), 16);
    EXPECT_EQ(m_manager.PlayAt("s16.wav", 0, 0), 0);
    EXPECT_EQ(Creates(), 16);
    EXPECT_EQ(SlotsPlaying(), 16);
    EXPECT_EQ(Device().Count(SoundCall::Release), 0);

    // One finishes: the new sound takes that slot.
    Device().Finish(6);
    EXPECT_EQ(m_manager.PlayAt("s16.wav", 0, 0), 1);
    EXPECT_EQ(m_manager.GetSlot(5)->GetName(), "s16.wav");
    EXPECT_EQ(Device().Count(SoundCall::Release, 6), 1);
}

TEST_F(SoundManagerTest, FarthestPlayingSlotIsReplaced)
{
    ASSERT_EQ(m_manager.Init(), 1);
    // Slots 3 and 9 tie for the farthest (300 px); the earlier one goes.
    for (int i = 0; i < 16; ++i) {
        const int x = (i == 3 || i == 9) ? 300 : i * 10;
        ASSERT_EQ(m_manager.PlayAt("s" + std::to_string(i) + ".wav", x, 0), 1);
    }
    EXPECT_EQ(m_manager.PlayAt("s16.wav", 0, 0), 1);
    EXPECT_EQ(m_manager.GetSlot(3)->GetName(), "s16.wav");
    EXPECT_EQ(m_manager.GetSlot(9)->GetName(), "s9.wav");
    EXPECT_EQ(Device().Count(SoundCall::Release, 4), 1);

    // Distance is measured from the listener, with y going into -z.
    m_manager.SetListenerPosition(300, 0);
    EXPECT_EQ(m_manager.PlayAt("s3.wav", 300, 0), 1);
    EXPECT_EQ(m_manager.GetSlot(0)->GetName(), "s3.wav");  // slot 0 was at x = 0
    const SoundCall& pos = Device().calls[Device().calls.size() - 2];
    EXPECT_EQ(pos.kind, SoundCall::Position);
    EXPECT_FLOAT_EQ(pos.x, 300.0f);
    EXPECT_FLOAT_EQ(pos.z, -0.0f);
}

TEST_F(SoundManagerTest, HearingRangeIsFiveHundredPixels)
{
    ASSERT_EQ(m_manager.Init(), 1);
    EXPECT_EQ(m_manager.PlayAt("s0.wav", 501, 0), 1);
    EXPECT_EQ(m_manager.PlayAt("s0.wav", 300, 401), 1);
    EXPECT_EQ(Creates(), 0);
    EXPECT_EQ(Device().Count(SoundCall::Play), 0);

    EXPECT_EQ(m_manager.PlayAt("s0.wav", 500, 0), 1);
    EXPECT_EQ(m_manager.PlayAt("s1.wav", -300, 400), 1);
    EXPECT_EQ(Device().Count(SoundCall::Play), 2);
    const SoundCall& pos = Device().calls[Device().calls.size() - 2];
    EXPECT_FLOAT_EQ(pos.x, -300.0f);
    EXPECT_FLOAT_EQ(pos.z, -400.0f);

    // Relative to where the listener is, and without overflow far away.
    m_manager.SetListenerPosition(2000, 2000);
    EXPECT_EQ(m_manager.PlayAt("s2.wav", 2000, 2500), 1);
    EXPECT_EQ(Device().Count(SoundCall::Play), 3);
    EXPECT_EQ(m_manager.PlayAt("s2.wav", -2000000000, 2000000000), 1);
    EXPECT_EQ(Device().Count(SoundCall::Play), 3);
}

TEST_F(SoundManagerTest, VolumeLevelsMapToHundredthsOfDecibels)
{
    EXPECT_EQ(CSoundManager::LevelToVolume(140), 0);
    EXPECT_EQ(CSoundManager::LevelToVolume(0), -7000);
    EXPECT_EQ(CSoundManager::LevelToVolume(50), -4500);
    EXPECT_EQ(CSoundManager::LevelToVolume(141), 0);
    EXPECT_EQ(CSoundManager::LevelToVolume(-100), -10000);
    EXPECT_EQ(CSoundManager::LevelToVolume(-2000000000), -10000);

    ASSERT_EQ(m_manager.Init(), 1);
    ASSERT_EQ(m_manager.PlayAt("s0.wav", 0, 0), 1);
    m_manager.SetVolume(50);
    EXPECT_EQ(Device().buffers[0].volume, -4500);
    // A buffer loaded later starts at the current volume.
    ASSERT_EQ(m_manager.PlayAt("s1.wav", 0, 0), 1);
    EXPECT_EQ(Device().buffers[1].volume, -4500);
    m_manager.SetVolume(200);
    EXPECT_EQ(Device().buffers[0].volume, 0);
    EXPECT_EQ(Device().buffers[1].volume, 0);
}

TEST_F(SoundManagerTest, BadSoundsFailAndLeaveTheirSlotEmpty)
{
    ASSERT_EQ(m_manager.Init(), 1);
    EXPECT_EQ(m_manager.PlayAt("missing.wav", 0, 0), 0);
    EXPECT_EQ(m_manager.PlayAt("broken.wav", 0, 0), 0);
    EXPECT_EQ(m_manager.GetSlot(0), nullptr);
    EXPECT_EQ(Creates(), 0);

    // A loaded sound that is not playing gives up its slot to a request
    // that then fails: the slot is left empty.
    for (int i = 0; i < 16; ++i)
        ASSERT_EQ(m_manager.PlayAt("s" + std::to_string(i) + ".wav", 0, 0), 1);
    Device().Finish(Device().Count(SoundCall::Create));
    EXPECT_EQ(m_manager.PlayAt("missing.wav", 0, 0), 0);
    EXPECT_EQ(m_manager.GetSlot(15), nullptr);
}

TEST_F(SoundManagerTest, StopAllStopsAndRewindsEverySound)
{
    ASSERT_EQ(m_manager.Init(), 1);
    ASSERT_EQ(m_manager.PlayAt("long.wav", 0, 0), 1);
    ASSERT_EQ(m_manager.PlayLooped("s0.wav"), 1);
    m_platform.clock.Advance(5000);
    EXPECT_EQ(SlotsPlaying(), 1);  // the looped one
    m_manager.StopAll();
    EXPECT_EQ(SlotsPlaying(), 0);
    EXPECT_EQ(Device().Count(SoundCall::Rewind, 2), 2);
    EXPECT_FALSE(Device().Playing(2));
    // A plain play switches positioning off.
    EXPECT_EQ(Device().calls[Device().calls.size() - 1].kind, SoundCall::Rewind);
    EXPECT_EQ(Device().Count(SoundCall::Enable3D, 2), 1);
}

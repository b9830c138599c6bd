#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <vexel/error.h>
#include <vexel/sound.h>
#include <vexel/window.h>

#include "io/virtual_files.h"
#include "platform/audio_device.h"
#include "sound/sound_effects.h"
#include "support/headless_engine.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"

namespace vexel {
namespace {

using ::testing::HasSubstr;

constexpr int32_t kRate = 44100;

std::string make_wav(const testing::ScopedTempDir& dir, const std::string& name, double seconds) {
    const std::string path = dir.file(name);
    const auto frames = static_cast<int64_t>(seconds * kRate);
    testing::write_sound_file(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, kRate,
                              testing::constant_samples(frames, 1, 0.25f));
    return path;
}

// The sound object on SDL's dummy driver: the mixer runs, nothing is heard.
class SoundCommands : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VEXEL_AUDIO", "null", 1);
        start_sound();
        ASSERT_TRUE(sound_effects()->has_device());
        long_sound_ = make_wav(dir_, "long.wav", 2);
    }
    void TearDown() override { stop_sound_device(); }

    std::string log() const { return testing::read_file(dir_.file("ErrorLog.txt")); }

    testing::ScopedTempDir dir_;
    std::string long_sound_;
};

TEST_F(SoundCommands, NumbersOutsideTheirRangesSetSevenAndTouchNothing) {
    EXPECT_EQ(find_free_sound(), 4095);
    const DynString name(long_sound_.c_str());
    const struct {
        const char* what;
        std::function<int32_t()> call;
        int32_t result;
    } cases[] = {
        {"play slot 4096", [] { return play_sound(4096, 0, 1); }, 0},
        {"play slot -1", [] { return play_sound(-1, 0, 1); }, 0},
        {"playing 0x100000", [] { return sound_playing(0x100000); }, 0},
        {"playing -1", [] { return sound_playing(-1); }, 0},
        {"load slot 4096", [&] { return load_sound(name, 4096, 1), 0; }, 0},
        {"load slot -1", [&] { return load_sound(name, -1, 1), 0; }, 0},
    };
    for (const auto& c : cases) {
        set_error(0);
        EXPECT_EQ(c.call(), c.result) << c.what;
        EXPECT_EQ(last_error_code(), 7) << c.what;
    }
    set_error(0);
    stop_sound(-1);
    stop_sound(0x100000);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(play_sound(10, 0, 1), -1);
    EXPECT_EQ(find_free_sound(), 4095);
    EXPECT_EQ(log(), "");
}

TEST_F(SoundCommands, BuffersAreTakenInTurnAndOneBufferRefusesASecondPlay) {
    const struct {
        int32_t requested;
        std::vector<int32_t> buffers;  // of rapid plays, -1 refused
    } cases[] = {{3, {0, 1, 2, 0, 1}}, {9, {0, 1, 2, 3, 0}}, {1, {0, -1}}, {0, {0, -1}}};
    for (const auto& c : cases) {
        load_sound(DynString(long_sound_.c_str()), 4095, c.requested);
        for (size_t i = 0; i < c.buffers.size(); ++i) {
            const int32_t expected = c.buffers[i] < 0 ? -1 : 4095 * 256 + c.buffers[i];
            EXPECT_EQ(play_sound(4095, 0, 1), expected) << c.requested << " play " << i;
        }
    }
    EXPECT_EQ(sound_playing(4095 * 256), 1);      // the refused play left the first playing
    EXPECT_EQ(sound_playing(4095 * 256 + 1), 0);  // beyond the slot's one buffer
    stop_sound(4095 * 256 + 1);                   // beyond the count: every buffer
    EXPECT_EQ(sound_playing(4095 * 256), 0);
    EXPECT_EQ(play_sound(4095, 0, 1), 4095 * 256);
    EXPECT_EQ(find_free_sound(), 4094);
}

TEST_F(SoundCommands, APlayWhileEveryBufferPlaysRestartsTheNextFromItsStart) {
    load_sound(DynString(long_sound_.c_str()), 1, 3);
    for (int i = 0; i < 3; ++i)
        play_sound(1, 0, 1);
    const SoundVoice& first = sound_effects()->slot(1).buffers[0];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    int64_t position = 0;
    while (position == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const platform::AudioDeviceLock lock;
        position = first.position;
    }
    ASSERT_GT(position, 0);
    const platform::AudioDeviceLock lock;  // the mixer waits: what play left is seen as it is
    EXPECT_EQ(play_sound(1, 0, 1), 256);
    EXPECT_TRUE(first.playing);
    EXPECT_EQ(first.position, 0);
}

TEST_F(SoundCommands, FilesThatDoNotLoadSetThreeLogOneLineAndLeaveTheSlotEmpty) {
    testing::write_file(dir_.file("notes.txt"), "not a sound at all, only some words in a file");
    const std::string cut = testing::read_file(long_sound_);
    testing::write_file(dir_.file("cut.wav"), cut.substr(0, cut.size() / 2));
    const struct {
        std::string name;
        const char* line;
    } cases[] = {
        {dir_.file("missing.wav"), "not found"},
        {dir_.file("notes.txt"), "not a sound file"},
        {dir_.file("cut.wav"), "damaged"},
    };
    for (const auto& c : cases) {
        load_sound(DynString(long_sound_.c_str()), 9, 2);
        set_error(0);
        load_sound(DynString(c.name.c_str()), 9, 2);
        EXPECT_EQ(last_error_code(), 3) << c.name;
        EXPECT_EQ(play_sound(9, 0, 1), -1) << c.name;
        EXPECT_THAT(log(),
                    HasSubstr("load_sound: cannot load \"" + c.name + "\": " + c.line + "\n"));
    }
    const std::string lines = log();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3);
}

TEST_F(SoundCommands, AMemoryBlockLoadsLikeAFile) {
    const std::string bytes = testing::read_file(long_sound_);
    const MemoryFile block(bytes.data(), static_cast<uint32_t>(bytes.size()));
    set_error(0);
    load_sound(DynString(block.name().c_str()), 3, 1);
    EXPECT_EQ(last_error_code(), 0);
    EXPECT_EQ(sound_effects()->slot(3).file_name, block.name());
    EXPECT_EQ(play_sound(3, -0.5, 0.5), 3 * 256);
}

TEST_F(SoundCommands, FindFreeSoundGivesMinusOneAndSevenWhenEverySlotIsLoaded) {
    const std::string tiny = make_wav(dir_, "tiny.wav", 0.001);
    for (int32_t slot = 0; slot < kSoundSlots; ++slot)
        load_sound(DynString(tiny.c_str()), slot, 1);
    set_error(0);
    EXPECT_EQ(find_free_sound(), -1);
    EXPECT_EQ(last_error_code(), 7);
    load_sound(DynString(dir_.file("missing.wav").c_str()), 17, 1);
    EXPECT_EQ(find_free_sound(), 17);
}

TEST(SoundWithoutDevice, LoadsFailWithThreeAndPlaysGiveMinusOne) {
    testing::ScopedTempDir dir;
    unsetenv("VEXEL_AUDIO");
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    start_sound();
    EXPECT_FALSE(sound_effects()->has_device());
    const std::string path = make_wav(dir, "s.wav", 0.1);
    set_error(0);
    load_sound(DynString(path.c_str()), 0, 1);
    EXPECT_EQ(last_error_code(), 3);
    EXPECT_EQ(play_sound(0, 0, 1), -1);
    EXPECT_EQ(sound_playing(0), 0);
    EXPECT_EQ(find_free_sound(), 4095);
    EXPECT_EQ(testing::read_file(dir.file("ErrorLog.txt")),
              "load_sound: cannot load \"" + path + "\": sound is off (no audio device)\n");
    stop_sound_device();
}

TEST(SoundEngine, StartsWithTheEngineOutlivesAScreenChangeAndEndsWithIt) {
    auto engine = std::make_unique<testing::HeadlessEngine>();
    ASSERT_TRUE(engine->has_window());
    ASSERT_NE(sound_effects(), nullptr);
    load_sound(DynString(make_wav(engine->temp(), "s.wav", 2).c_str()), 2, 1);
    const int32_t channel = play_sound(2, 0, 1);
    EXPECT_EQ(channel, 2 * 256);
    set_screen(320, 240, 0);
    EXPECT_EQ(sound_playing(channel), 1);
    engine.reset();
    EXPECT_EQ(sound_effects(), nullptr);
    EXPECT_EQ(play_sound(2, 0, 1), -1);
}

}  // namespace
}  // namespace vexel

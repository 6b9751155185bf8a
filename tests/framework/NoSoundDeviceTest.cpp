#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

#include "framework/FolderItem.h"
#include "framework/MoviePlayer.h"
#include "support/SoundFiles.h"

// Run where ALSA's default device does not exist and no sound server answers (the test's
// environment). The backend may then play into nothing or fail with an error, depending on the
// sinks the machine has; either way the player must come back to Stop, without a crash or a hang.
TEST(NoSoundDevice, PlayingComesBackToStop) {
    QTemporaryDir dir;
    const QString wav = dir.filePath("tone.wav");
    ASSERT_TRUE(testutil::MakeTone(wav, 1.0));
    auto player = std::make_shared<fw::MoviePlayer>();
    std::vector<std::string> events;
    player->Connect<void(fw::MoviePlayer&)>("Play", "(  )",
                                            [&](fw::MoviePlayer&) { events.push_back("Play"); });
    player->Connect<void(fw::MoviePlayer&)>("Stop", "(  )",
                                            [&](fw::MoviePlayer&) { events.push_back("Stop"); });
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        events.clear();
        player->SetMovie(fw::FolderItem(wav.toStdString()).OpenAsMovie());
        player->Play();
        ASSERT_TRUE(testutil::WaitUntil([&] { return events.size() >= 2; }, 10000))
            << events.size();
        EXPECT_EQ(events, (std::vector<std::string>{"Play", "Stop"}));
    }
}

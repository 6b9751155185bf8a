#include <gtest/gtest.h>

#include <QAudioOutput>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaPlayer>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/FolderItem.h"
#include "framework/Movie.h"
#include "framework/MoviePlayer.h"
#include "support/SoundFiles.h"

// These play for real, on ALSA's null device (the test's environment), so a movie takes as
// long as it lasts.
namespace {

class MoviePlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        player = std::make_shared<fw::MoviePlayer>();
        player->Connect<void(fw::MoviePlayer&)>("Play", "(  )", [this](fw::MoviePlayer&) {
            events.push_back("Play");
            playAt = clock.elapsed();
        });
        player->Connect<void(fw::MoviePlayer&)>("Stop", "(  )", [this](fw::MoviePlayer&) {
            events.push_back("Stop");
            stopAt = clock.elapsed();
        });
        clock.start();
    }

    std::string Path(const char* name) { return dir.filePath(name).toStdString(); }
    std::shared_ptr<fw::Movie> MovieOf(const std::string& path) {
        auto movie = fw::FolderItem(path).OpenAsMovie();
        EXPECT_NE(movie, nullptr) << path;
        return movie;
    }
    std::string Tone(const char* name, double seconds, const QString& codec = {}) {
        const std::string path = Path(name);
        testutil::MakeTone(QString::fromStdString(path), seconds, codec);
        return path;
    }
    bool WaitForEvents(std::size_t count, int ms) {
        return testutil::WaitUntil([&] { return events.size() >= count; }, ms);
    }
    void PlayFile(const std::string& path) {
        player->SetMovie(MovieOf(path));
        player->Play();
    }

    QTemporaryDir dir;
    std::shared_ptr<fw::MoviePlayer> player;
    std::vector<std::string> events;
    QElapsedTimer clock;
    qint64 playAt = -1, stopAt = -1;
};

using Events = std::vector<std::string>;

TEST_F(MoviePlayerTest, AWavPlaysToItsEndInRealTime) {
    const std::string wav = Tone("two seconds.wav", 2.0);
    player->SetMovie(MovieOf(wav));
    EXPECT_EQ(player->Movie()->Path(), wav);
    clock.restart();
    player->Play();
    // The events come from the event loop, never from inside Play.
    EXPECT_TRUE(events.empty());
    ASSERT_TRUE(WaitForEvents(2, 10000)) << events.size();
    EXPECT_EQ(events, (Events{"Play", "Stop"}));
    const qint64 played = stopAt - playAt;
    RecordProperty("played_ms", static_cast<int>(played));
    EXPECT_GE(played, 1800);
    EXPECT_LE(played, 6000);
}

// Formats that need a decoder beyond the WAV reader play as well, in real time (a decoder that
// is missing also ends in Play and Stop, but at once), and end with Stop.
TEST_F(MoviePlayerTest, CompressedFormatsPlayAndStop) {
    struct Case {
        const char* name;
        const char* codec;
    };
    for (const Case& c : {Case{"tone.m4a", "aac"}, Case{"tone.wma", "wmav2"},
                          Case{"tone.ogg", "libvorbis"}, Case{"tone.mp3", "libmp3lame"}}) {
        SCOPED_TRACE(c.name);
        events.clear();
        PlayFile(Tone(c.name, 2.0, c.codec));
        ASSERT_TRUE(WaitForEvents(2, 10000)) << events.size();
        EXPECT_EQ(events, (Events{"Play", "Stop"}));
        // A movie that fails stops within about a second, whatever its length; the backend
        // says which of the two ends it was.
        EXPECT_GE(stopAt - playAt, 1800) << "it stopped without playing";
        ASSERT_NE(player->Backend(), nullptr);
        EXPECT_EQ(player->Backend()->mediaStatus(), QMediaPlayer::EndOfMedia);
        EXPECT_EQ(player->Backend()->error(), QMediaPlayer::NoError);
    }
}

// The backend leaves a movie it cannot play in its playing state with an error; without a
// Stop here the program would believe it plays for ever.
TEST_F(MoviePlayerTest, WhatCannotBePlayedStopsAndThePlayerGoesOnWorking) {
    QFile text(dir.filePath("not audio.wav"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is no sound at all\n");
    text.close();
    const std::string empty = Path("empty.mp3");
    QFile(QString::fromStdString(empty)).open(QIODevice::WriteOnly);
    const std::string gone = Tone("gone.wav", 0.5);
    auto goneMovie = MovieOf(gone);
    QFile::remove(QString::fromStdString(gone));

    const std::vector<std::shared_ptr<fw::Movie>> bad = {MovieOf(text.fileName().toStdString()),
                                                         MovieOf(empty), goneMovie};
    for (const auto& movie : bad) {
        SCOPED_TRACE(movie->Path());
        events.clear();
        player->SetMovie(movie);
        player->Play();
        ASSERT_TRUE(WaitForEvents(2, 10000)) << events.size();
        EXPECT_EQ(events, (Events{"Play", "Stop"}));
        // And again, on the same movie: it fails the same way instead of hanging in between.
        events.clear();
        player->Play();
        ASSERT_TRUE(WaitForEvents(2, 10000)) << events.size();
        EXPECT_EQ(events, (Events{"Play", "Stop"}));
    }
    events.clear();
    PlayFile(Tone("fine.wav", 0.5));
    ASSERT_TRUE(WaitForEvents(2, 10000));
    EXPECT_EQ(events, (Events{"Play", "Stop"}));
}

TEST_F(MoviePlayerTest, StopEndsPlayingAndDoesNothingWhenNothingPlays) {
    player->Stop();
    player->Play();  // no movie yet
    testutil::RunFor(300);
    EXPECT_TRUE(events.empty());

    PlayFile(Tone("long.wav", 5.0));
    ASSERT_TRUE(WaitForEvents(1, 5000));
    clock.restart();
    player->Stop();
    ASSERT_TRUE(WaitForEvents(2, 2000));
    EXPECT_EQ(events, (Events{"Play", "Stop"}));
    // Well before the movie's own end, however loaded the machine.
    EXPECT_LT(stopAt, 3000);
    player->Stop();
    testutil::RunFor(300);
    EXPECT_EQ(events.size(), 2u);
}

// A new movie takes the place of the one playing without a Stop call: the old one stops and
// the new one plays to its own end.
TEST_F(MoviePlayerTest, ANewMovieReplacesTheOnePlaying) {
    PlayFile(Tone("first.wav", 5.0));
    ASSERT_TRUE(WaitForEvents(1, 5000));
    const std::string second = Tone("second.wav", 0.5);
    PlayFile(second);
    EXPECT_EQ(player->Movie()->Path(), second);
    ASSERT_TRUE(WaitForEvents(4, 4000)) << events.size();
    EXPECT_EQ(events, (Events{"Play", "Stop", "Play", "Stop"}));
}

// Movies replaced before the event loop runs: what the earlier ones report on their way out
// never makes the player look as if it played. The last one plays to its end.
TEST_F(MoviePlayerTest, MoviesReplacedAtOnceLeaveOnlyTheLastPlaying) {
    const std::string a = Tone("a.wav", 0.3);
    for (int i = 0; i < 5; ++i) {
        PlayFile(a);
    }
    player->SetMovie(nullptr);
    testutil::RunFor(800);
    EXPECT_TRUE(events.empty() || events.back() == "Stop") << events.size();
    events.clear();
    for (int i = 0; i < 5; ++i) {
        PlayFile(a);
    }
    ASSERT_TRUE(
        testutil::WaitUntil([&] { return !events.empty() && events.back() == "Stop"; }, 5000));
    EXPECT_EQ(events, (Events{"Play", "Stop"}));
}

TEST_F(MoviePlayerTest, OnlyAReadableFileOpensAsAMovie) {
    EXPECT_EQ(fw::FolderItem(dir.path().toStdString()).OpenAsMovie(), nullptr);
    EXPECT_EQ(fw::FolderItem(Path("missing.wav")).OpenAsMovie(), nullptr);
    const std::string wav = Tone("x y.wav", 0.1);
    EXPECT_EQ(fw::FolderItem(wav).OpenAsMovie()->Path(), wav);
    // A nil movie empties the player; playing it then does nothing.
    player->SetMovie(nullptr);
    player->Play();
    testutil::RunFor(200);
    EXPECT_TRUE(events.empty());
}

// Speaker is whether the sound reaches the output: False mutes what the backend player plays
// into, True lets it through at a volume above nothing, and the setting holds for the movies that
// follow. (On the null device no level can be heard; the backend's audio output is what shows.)
TEST_F(MoviePlayerTest, TheSpeakerMutesAndUnmutesWhatPlays) {
    EXPECT_EQ(player->Backend(), nullptr);
    const std::string wav = Tone("tone.wav", 2.0);
    const auto output = [&]() -> QAudioOutput* {
        QMediaPlayer* backend = player->Backend();
        return backend != nullptr ? backend->audioOutput() : nullptr;
    };
    player->SetSpeaker(false);
    PlayFile(wav);
    ASSERT_NE(output(), nullptr);
    EXPECT_TRUE(output()->isMuted());
    player->SetSpeaker(true);
    EXPECT_FALSE(output()->isMuted());
    EXPECT_GT(output()->volume(), 0.0f);
    for (bool on : {true, false, true}) {
        SCOPED_TRACE(on);
        player->SetSpeaker(on);
        PlayFile(wav);
        ASSERT_NE(output(), nullptr);
        EXPECT_EQ(output()->isMuted(), !on);
        EXPECT_EQ(player->Speaker(), on);
    }
    player->Stop();
}

// A movie whose backend never opens it holds up neither the window nor the next movie. A FIFO
// with no writer (which the program itself never offers as a movie) stalls the backend in
// open(), as the backend's own deadlock stalls it in setSource.
TEST_F(MoviePlayerTest, AMovieThatNeverOpensHoldsNothingUp) {
    const std::string fifo = Path("a fifo.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    player->SetMovie(std::make_shared<fw::Movie>(fifo));
    player->Play();
    QElapsedTimer asked;
    asked.start();
    EXPECT_EQ(player->Backend(), nullptr) << "a backend stalled in open() settled";
    EXPECT_LT(asked.elapsed(), 30000) << "asking about a stalled backend must come back";
    player->Stop();
    EXPECT_TRUE(events.empty()) << "a movie that never opened reported playing";

    clock.restart();
    PlayFile(Tone("after.wav", 1.0));
    ASSERT_TRUE(WaitForEvents(2, 10000)) << events.size();
    EXPECT_EQ(events, (Events{"Play", "Stop"}));
    // The stalled backends let go once the FIFO has had a writer.
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) {
        ::close(writer);
    }
}

// A backend that has not opened its movie in time is left behind, and the movie is opened afresh
// on a new one: here the first open stalls on a FIFO, which then gives way to a real file.
TEST_F(MoviePlayerTest, AStalledOpenIsTriedAgainOnAFreshBackend) {
    const std::string path = Path("late.wav");
    const std::string held = Path("held fifo");
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ASSERT_EQ(::link(path.c_str(), held.c_str()), 0);
    player->SetMovie(std::make_shared<fw::Movie>(path));
    player->Play();
    EXPECT_FALSE(WaitForEvents(1, 1000)) << "a movie that never opened reported playing";
    const std::string wav = Tone("tone.wav", 1.0);
    ASSERT_EQ(::rename(wav.c_str(), path.c_str()), 0);
    EXPECT_TRUE(WaitForEvents(2, 20000)) << events.size();
    EXPECT_EQ(events, (Events{"Play", "Stop"}));
    // The stalled backend lets go once its FIFO has had a writer.
    const int writer = ::open(held.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) {
        ::close(writer);
    }
}

}  // namespace

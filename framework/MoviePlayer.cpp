#include "framework/MoviePlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QMetaObject>
#include <QUrl>
#include <QWidget>

#include "framework/Dispatch.h"
#include "framework/Movie.h"

namespace fw {

// Made at the first movie, so that a window whose player never plays never starts the media
// backend. The player's signals come from inside its own calls as well as from the event loop;
// each is turned into a call queued on the event loop, so that the control's events never run
// inside SetMovie, Play or Stop.
struct MoviePlayer::Engine {
    ~Engine() { QObject::disconnect(&player, nullptr, &context, nullptr); }

    QObject context;
    QAudioOutput output;
    QMediaPlayer player;
    // Counts the movies given to the player: a failure reported for an earlier movie must not
    // stop the one that took its place.
    unsigned generation = 0;
    bool raisedPlay = false;
    // The present movie has failed; the backend keeps a failed source as it is, so playing it
    // again needs it loaded afresh.
    bool failed = false;

    void Load(const std::shared_ptr<fw::Movie>& movie) {
        ++generation;
        failed = false;
        if (movie) {
            player.setSource(QUrl());
        }
        player.setSource(movie ? QUrl::fromLocalFile(QString::fromStdString(movie->Path()))
                               : QUrl());
    }
};

MoviePlayer::MoviePlayer() {
    DeclareEvent<void(MoviePlayer&)>("Stop", "(  )");
    DeclareEvent<void(MoviePlayer&)>("Play", "(  )");
}

MoviePlayer::~MoviePlayer() = default;

MoviePlayer::Engine& MoviePlayer::EngineNow() {
    if (engine_) {
        return *engine_;
    }
    engine_ = std::make_unique<Engine>();
    Engine& e = *engine_;
    e.player.setAudioOutput(&e.output);
    e.output.setMuted(!speaker_);

    QObject::connect(
        &e.player, &QMediaPlayer::playbackStateChanged, &e.context,
        [this, &e](QMediaPlayer::PlaybackState state) {
            QMetaObject::invokeMethod(
                &e.context,
                [this, &e, state] {
                    // Paused is not a state this player enters on its own.
                    const bool playing = state == QMediaPlayer::PlayingState;
                    if (state == QMediaPlayer::PausedState || playing == e.raisedPlay) {
                        return;
                    }
                    e.raisedPlay = playing;
                    Dispatch([&] {
                        if (playing) {
                            Raise<void(MoviePlayer&)>("Play", *this);
                        } else {
                            Raise<void(MoviePlayer&)>("Stop", *this);
                        }
                    });
                },
                Qt::QueuedConnection);
        });

    // A movie that cannot be played leaves the backend in its playing state for good, with an
    // error or an invalid media status: stopping it is what lets the program see the end.
    const auto failed = [&e] {
        const unsigned generation = e.generation;
        QMetaObject::invokeMethod(
            &e.context,
            [&e, generation] {
                if (generation != e.generation) {
                    return;
                }
                e.failed = true;
                if (e.player.playbackState() != QMediaPlayer::StoppedState) {
                    e.player.stop();
                }
            },
            Qt::QueuedConnection);
    };
    QObject::connect(&e.player, &QMediaPlayer::errorOccurred, &e.context,
                     [failed](QMediaPlayer::Error error, const QString&) {
                         if (error != QMediaPlayer::NoError) {
                             failed();
                         }
                     });
    QObject::connect(&e.player, &QMediaPlayer::mediaStatusChanged, &e.context,
                     [failed](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::InvalidMedia) {
                             failed();
                         }
                     });
    return e;
}

void MoviePlayer::SetMovie(std::shared_ptr<fw::Movie> movie) {
    movie_ = std::move(movie);
    if (!movie_ && !engine_) {
        return;
    }
    EngineNow().Load(movie_);
}

void MoviePlayer::SetSpeaker(bool on) {
    speaker_ = on;
    if (engine_) {
        engine_->output.setMuted(!on);
    }
}

void MoviePlayer::Play() {
    if (!movie_) {
        return;
    }
    Engine& e = EngineNow();
    if (e.failed) {
        e.Load(movie_);
    }
    e.player.play();
}

void MoviePlayer::Stop() {
    if (engine_) {
        engine_->player.stop();
    }
}

QWidget* MoviePlayer::CreateWidget(QWidget* parent) {
    auto* w = new QWidget(parent);
    w->setObjectName("MoviePlayer");
    return w;
}

const PropertyTable& MoviePlayer::Properties() const {
    static const PropertyTable table = [] {
        PropertyTable t = RectProperties();
        t.Add("AutoResize", PropType::Boolean);
        t.Add("Border", PropType::Boolean);
        t.Add("Speaker", PropType::Boolean, [](PropertyHolder& h, const PropValue& v) {
            static_cast<MoviePlayer&>(h).SetSpeaker(std::get<bool>(v));
        });
        t.Add("HasStep", PropType::Boolean);
        t.Add("PlayerType", PropType::Int32);
        t.Add("Controller", PropType::Int32);
        t.Add("AutoPlay", PropType::Boolean);
        t.Add("Looping", PropType::Boolean);
        t.Add("Palindrome", PropType::Boolean);
        return t;
    }();
    return table;
}

}  // namespace fw

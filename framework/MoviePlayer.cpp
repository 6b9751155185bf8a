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
//
// Each movie gets a backend player of its own. One backend player reused for the next movie
// lets the end of the earlier one reach it late on a loaded machine: the new movie then stops
// after a fraction of a second, or at once, as if it had played to its end.
struct MoviePlayer::Engine {
    struct Session {
        QAudioOutput output;
        QMediaPlayer player;
    };

    explicit Engine(MoviePlayer& owner) : owner(owner) {}
    ~Engine() { Drop(); }

    MoviePlayer& owner;
    QObject context;
    std::unique_ptr<Session> session;
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
        Drop();
        // The dropped player reports nothing more, so its end is reported here, after whatever
        // it reported before.
        Report(false);
        if (!movie) {
            return;
        }
        session = std::make_unique<Session>();
        session->player.setAudioOutput(&session->output);
        session->output.setMuted(!owner.speaker_);
        Watch(session->player);
        session->player.setSource(QUrl::fromLocalFile(QString::fromStdString(movie->Path())));
    }

    void Drop() {
        if (session) {
            QObject::disconnect(&session->player, nullptr, &context, nullptr);
            session.reset();
        }
    }

    // Raises Play or Stop from the event loop when what the player does differs from what was
    // last raised.
    void Report(bool playing) {
        QMetaObject::invokeMethod(
            &context,
            [this, playing] {
                if (playing == raisedPlay) {
                    return;
                }
                raisedPlay = playing;
                Dispatch([&] {
                    if (playing) {
                        owner.Raise<void(MoviePlayer&)>("Play", owner);
                    } else {
                        owner.Raise<void(MoviePlayer&)>("Stop", owner);
                    }
                });
            },
            Qt::QueuedConnection);
    }

    // A movie that cannot be played leaves the backend in its playing state for good, with an
    // error or an invalid media status: stopping it is what lets the program see the end.
    void Failed() {
        QMetaObject::invokeMethod(
            &context,
            [this, generation = generation] {
                if (generation != this->generation || !session) {
                    return;
                }
                failed = true;
                if (session->player.playbackState() != QMediaPlayer::StoppedState) {
                    session->player.stop();
                }
            },
            Qt::QueuedConnection);
    }

    void Watch(QMediaPlayer& player) {
        QObject::connect(&player, &QMediaPlayer::playbackStateChanged, &context,
                         [this](QMediaPlayer::PlaybackState state) {
                             // Paused is not a state this player enters on its own.
                             if (state != QMediaPlayer::PausedState) {
                                 Report(state == QMediaPlayer::PlayingState);
                             }
                         });
        QObject::connect(&player, &QMediaPlayer::errorOccurred, &context,
                         [this](QMediaPlayer::Error error, const QString&) {
                             if (error != QMediaPlayer::NoError) {
                                 Failed();
                             }
                         });
        QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &context,
                         [this](QMediaPlayer::MediaStatus status) {
                             if (status == QMediaPlayer::InvalidMedia) {
                                 Failed();
                             }
                         });
    }
};

MoviePlayer::MoviePlayer() {
    DeclareEvent<void(MoviePlayer&)>("Stop", "(  )");
    DeclareEvent<void(MoviePlayer&)>("Play", "(  )");
}

MoviePlayer::~MoviePlayer() = default;

MoviePlayer::Engine& MoviePlayer::EngineNow() {
    if (!engine_) {
        engine_ = std::make_unique<Engine>(*this);
    }
    return *engine_;
}

void MoviePlayer::SetMovie(std::shared_ptr<fw::Movie> movie) {
    movie_ = std::move(movie);
    if (!movie_ && !engine_) {
        return;
    }
    EngineNow().Load(movie_);
}

QMediaPlayer* MoviePlayer::Backend() const {
    return engine_ && engine_->session ? &engine_->session->player : nullptr;
}

void MoviePlayer::SetSpeaker(bool on) {
    speaker_ = on;
    if (engine_ && engine_->session) {
        engine_->session->output.setMuted(!on);
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
    e.session->player.play();
}

void MoviePlayer::Stop() {
    if (engine_ && engine_->session) {
        engine_->session->player.stop();
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

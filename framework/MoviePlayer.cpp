#include "framework/MoviePlayer.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMediaPlayer>
#include <QMetaObject>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <atomic>
#include <vector>

#include "framework/Dispatch.h"
#include "framework/Movie.h"

namespace fw {

namespace {

// How long a new backend may take to open its movie before it is taken for stuck in the
// deadlock described below, and how often the movie is then opened afresh on a new backend.
constexpr int kOpenGraceMs = 4000;
constexpr int kOpenAttempts = 3;

}  // namespace

// Made at the first movie, so that a window whose player never plays never starts the media
// backend. The player's signals come from inside its own calls as well as from the event loop;
// each is turned into a call queued on the event loop, so that the control's events never run
// inside SetMovie, Play or Stop.
//
// Each movie gets a backend player of its own, on a thread of its own, and the window's thread
// only ever posts work to it. One backend player reused for the next movie lets the end of the
// earlier one reach it late on a loaded machine: the new movie then stops after a fraction of a
// second, or at once, as if it had played to its end. And the backend can deadlock inside
// setSource, between its seek on the calling thread and its own handler of a new stream on the
// streaming thread; on a thread of its own that stalls one backend, never the window, and a
// backend that has not opened its movie in time is left behind for a fresh one.
struct MoviePlayer::Engine {
    // Lives on its thread: made, used and deleted there.
    struct Backend {
        QAudioOutput output;
        QMediaPlayer player;
    };
    struct Session {
        QThread thread;
        QObject* context = nullptr;        // on the thread; what work is posted to
        Backend* backend = nullptr;        // made by the first work posted
        std::atomic<bool> opened = false;  // the backend's setSource has returned

        // Runs `work` on the session's thread, after whatever was posted before.
        template <class F>
        void Post(F work) {
            QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
        }
    };

    explicit Engine(MoviePlayer& owner) : owner(owner) {}
    ~Engine() {
        Retire();
        // A thread that does not end in time is stuck in the backend: it is left as it is.
        for (Session* s : retired) {
            if (s->thread.wait(2000)) {
                delete s;
            }
        }
    }

    MoviePlayer& owner;
    QObject context;
    Session* session = nullptr;
    std::vector<Session*> retired;
    // Counts the movies given to the player: what an earlier movie reports (its end, a failure)
    // must not reach the one that took its place.
    unsigned generation = 0;
    bool raisedPlay = false;
    // Play was asked for the present movie and not since stopped: a movie opened afresh plays.
    bool playWanted = false;
    int attempts = 0;
    // The present movie has failed; the backend keeps a failed source as it is, so playing it
    // again needs it loaded afresh.
    bool failed = false;

    void Load(const std::shared_ptr<fw::Movie>& movie) {
        ++generation;
        failed = false;
        playWanted = false;
        attempts = 0;
        Retire();
        // The retired player reports nothing more, so its end is reported here.
        Report(false, generation);
        if (!movie) {
            return;
        }
        Open(movie);
    }

    void Open(const std::shared_ptr<fw::Movie>& movie) {
        ++attempts;
        session = new Session;
        session->context = new QObject;
        session->context->moveToThread(&session->thread);
        QObject::connect(&session->thread, &QThread::finished, session->context,
                         &QObject::deleteLater, Qt::DirectConnection);
        session->thread.start();
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(movie->Path()));
        const bool muted = !owner.speaker_;
        Session* s = session;
        s->Post([this, s, url, muted, generation = generation] {
            s->backend = new Backend;
            s->backend->player.setAudioOutput(&s->backend->output);
            s->backend->output.setMuted(muted);
            Watch(s->backend->player, generation);
            s->backend->player.setSource(url);
            s->opened = true;
        });
        QTimer::singleShot(kOpenGraceMs, &context, [this, s, movie] {
            if (session != s || s->opened || attempts >= kOpenAttempts) {
                return;
            }
            // What the stalled backend may still report belongs to no movie of ours.
            ++generation;
            Retire();
            Open(movie);
            if (playWanted) {
                PostPlay();
            }
        });
    }

    void PostPlay() {
        Session* s = session;
        s->Post([s] {
            if (s->backend != nullptr) {
                s->backend->player.play();
            }
        });
    }

    void Retire() {
        if (session == nullptr) {
            return;
        }
        Session* s = session;
        session = nullptr;
        s->Post([s] {
            delete s->backend;
            s->backend = nullptr;
            s->thread.quit();
        });
        // Sessions whose thread has ended are deleted at the next retirement; one stuck in the
        // backend stays.
        std::erase_if(retired, [](Session* r) {
            if (!r->thread.isFinished()) {
                return false;
            }
            r->thread.wait();
            delete r;
            return true;
        });
        retired.push_back(s);
    }

    // Runs on the window's thread; then the player's events are raised from its event loop when
    // what the player does differs from what was last raised.
    void Report(bool playing, unsigned from) {
        QMetaObject::invokeMethod(
            &context,
            [this, playing, from] {
                if (from != generation || playing == raisedPlay) {
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
    void Failed(unsigned from) {
        QMetaObject::invokeMethod(
            &context,
            [this, from] {
                if (from != generation || session == nullptr) {
                    return;
                }
                failed = true;
                Session* s = session;
                s->Post([s] {
                    if (s->backend != nullptr &&
                        s->backend->player.playbackState() != QMediaPlayer::StoppedState) {
                        s->backend->player.stop();
                    }
                });
            },
            Qt::QueuedConnection);
    }

    // On the session's thread.
    void Watch(QMediaPlayer& player, unsigned from) {
        QObject::connect(&player, &QMediaPlayer::playbackStateChanged, &player,
                         [this, from](QMediaPlayer::PlaybackState state) {
                             // Paused is not a state this player enters on its own.
                             if (state != QMediaPlayer::PausedState) {
                                 Report(state == QMediaPlayer::PlayingState, from);
                             }
                         });
        QObject::connect(&player, &QMediaPlayer::errorOccurred, &player,
                         [this, from](QMediaPlayer::Error error, const QString&) {
                             if (error != QMediaPlayer::NoError) {
                                 Failed(from);
                             }
                         });
        QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &player,
                         [this, from](QMediaPlayer::MediaStatus status) {
                             if (status == QMediaPlayer::InvalidMedia) {
                                 Failed(from);
                             }
                         });
    }

    // Waits until the present session's thread has done what was posted to it, turning the
    // event loop meanwhile so that a stalled backend can be replaced; none after a bounded wait.
    Backend* Settled() {
        const QDeadlineTimer deadline(kOpenGraceMs * (kOpenAttempts + 1));
        while (session != nullptr && !deadline.hasExpired()) {
            Session* s = session;
            auto done = std::make_shared<QSemaphore>();
            s->Post([done] { done->release(); });
            while (session == s && !deadline.hasExpired()) {
                if (done->tryAcquire(1, 20)) {
                    return s->backend;
                }
                QCoreApplication::processEvents();
            }
        }
        return nullptr;
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
    Engine::Backend* b = engine_ ? engine_->Settled() : nullptr;
    return b != nullptr ? &b->player : nullptr;
}

void MoviePlayer::SetSpeaker(bool on) {
    speaker_ = on;
    if (engine_ && engine_->session != nullptr) {
        Engine::Session* s = engine_->session;
        s->Post([s, on] {
            if (s->backend != nullptr) {
                s->backend->output.setMuted(!on);
            }
        });
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
    e.playWanted = true;
    e.PostPlay();
}

void MoviePlayer::Stop() {
    if (engine_ && engine_->session != nullptr) {
        engine_->playWanted = false;
        Engine::Session* s = engine_->session;
        s->Post([s] {
            if (s->backend != nullptr) {
                s->backend->player.stop();
            }
        });
        // Stopped as soon as asked, whenever the backend answers: a backend stuck in a state
        // change (the deadlock above can strike its stop as well) must not keep Play disabled.
        engine_->Report(false, engine_->generation);
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

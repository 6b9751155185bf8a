#pragma once

#include <memory>

#include "framework/RectControl.h"

class QMediaPlayer;

namespace fw {

class Movie;

// A media player; the program's is hidden and plays sound only. `Play` is raised when playing
// starts and `Stop` when it stops: at the movie's end, after Stop, when another movie takes its
// place, and when the movie turns out not to be playable (no decoder, not audio, no sound
// device), so that a stopped player never looks as if it were playing.
class MoviePlayer : public RectControl {
public:
    MoviePlayer();
    ~MoviePlayer() override;

    const std::shared_ptr<fw::Movie>& Movie() const { return movie_; }
    // Takes the place of whatever the player held; a playing movie stops.
    void SetMovie(std::shared_ptr<fw::Movie> movie);
    bool Speaker() const { return speaker_; }
    void SetSpeaker(bool on);
    // Starts the movie; without one it does nothing.
    void Play();
    void Stop();

    const PropertyTable& Properties() const override;
    // The backend player of the present movie, with the audio output that it plays into; none
    // before the first movie or while the player holds none. For tests.
    QMediaPlayer* Backend() const;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    struct Engine;
    Engine& EngineNow();

    std::unique_ptr<Engine> engine_;
    std::shared_ptr<fw::Movie> movie_;
    bool speaker_ = true;
};

}  // namespace fw

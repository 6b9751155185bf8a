#pragma once

#include "framework/RectControl.h"

namespace fw {

// A media player; the program's is hidden and plays sound only.
class MoviePlayer : public RectControl {
public:
    MoviePlayer();
    ~MoviePlayer() override;
    bool Speaker() const { return speaker_; }
    void SetSpeaker(bool on) { speaker_ = on; }
    const PropertyTable& Properties() const override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    bool speaker_ = true;
};

}  // namespace fw

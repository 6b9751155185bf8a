#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

namespace testutil {

struct ShownBox {
    QString title;
    QString text;
};

// Runs `show`, which opens real message boxes, and closes each box as soon as it is on screen,
// keeping its title and text.
inline std::vector<ShownBox> BoxesShownBy(const std::function<void()>& show) {
    std::vector<ShownBox> boxes;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box != nullptr && box->isVisible()) {
                boxes.push_back({box->windowTitle(), box->text()});
                box->accept();
            }
        }
    });
    closer.start();
    show();
    closer.stop();
    return boxes;
}

}  // namespace testutil

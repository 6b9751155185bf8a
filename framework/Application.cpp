#include "framework/Application.h"

#include <QApplication>

#include "framework/FirstPaintProbe.h"
#include "framework/FolderItem.h"
#include "framework/Keyboard.h"
#include "framework/QtGraphics.h"
#include "framework/Shell.h"
#include "framework/Window.h"

namespace fw {

namespace {

std::shared_ptr<Application>& Current() {
    static std::shared_ptr<Application> app;
    return app;
}

std::string& ExecutableOverride() {
    static std::string path;
    return path;
}

}  // namespace

struct Runtime::Impl {
    std::unique_ptr<QApplication> app;
};

std::shared_ptr<FolderItem> Application::ExecutableFile() const {
    return std::make_shared<FolderItem>(Runtime::ExecutablePath());
}

Runtime::Runtime(int& argc, char** argv) : impl_(std::make_unique<Impl>()) {
    impl_->app = std::make_unique<QApplication>(argc, argv);
    // Headings, toolbar captions and message boxes are the desktop's own text: "System".
    QFont font = QApplication::font();
    font.setFamily(SystemFamily());
    QApplication::setFont(font);
    InstallKeyboardTracking();
    InstallQuitOnTerminationSignals();
    InstallFirstPaintProbe();
}

Runtime::~Runtime() {
    ReleaseGlobals();
    impl_->app.reset();
}

int Runtime::Run() {
    return QApplication::exec();
}

void Runtime::ReleaseGlobals() {
    Window::CloseAll();
    Current().reset();
}

void Runtime::SetApplication(std::shared_ptr<Application> app) {
    // The toolkit's name, not its display name: a display name would be appended to the title
    // of every other window and dialog.
    if (app && !app->Name().empty() && QCoreApplication::instance() != nullptr) {
        QCoreApplication::setApplicationName(QString::fromStdString(app->Name()));
    }
    Current() = std::move(app);
}

std::shared_ptr<Application> Runtime::CurrentApplication() {
    return Current();
}

void Runtime::SetExecutablePath(const std::string& path) {
    ExecutableOverride() = path;
}

std::string Runtime::ExecutablePath() {
    if (!ExecutableOverride().empty()) {
        return ExecutableOverride();
    }
    return QCoreApplication::applicationFilePath().toStdString();
}

}  // namespace fw

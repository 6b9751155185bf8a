#include "framework/ModalUI.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>

#include "framework/Mouse.h"
#include "framework/Window.h"

namespace fw {

namespace {

QWidget* ParentWidget(Window* parent) {
    return parent ? static_cast<QWidget*>(parent->Widget()) : nullptr;
}

// A file dialog whose name filter also holds for a name the user types: such a name of another
// type keeps the dialog open instead of being returned.
class FilteredFileDialog : public QFileDialog {
public:
    FilteredFileDialog(QWidget* parent, const QString& caption, QStringList patterns)
        : QFileDialog(parent, caption), patterns_(std::move(patterns)) {
        if (!patterns_.isEmpty()) {
            setNameFilter(patterns_.join(' '));
        }
    }

    void accept() override {
        const QStringList files = selectedFiles();
        if (!patterns_.isEmpty() && !files.isEmpty() && !QFileInfo(files.front()).isDir() &&
            !QDir::match(patterns_, QFileInfo(files.front()).fileName())) {
            return;
        }
        QFileDialog::accept();
    }

private:
    QStringList patterns_;
};

class QtModalUI : public ModalUI {
public:
    void ShowMessage(const std::string& text) override {
        QMessageBox box(QApplication::activeWindow());
        // Titled by the program's name, never left to the platform's choice of the executable's.
        box.setWindowTitle(QApplication::applicationDisplayName());
        box.setText(QString::fromStdString(text));
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }

    std::optional<std::string> ChooseFile(Window* parent, const std::string& prompt,
                                          const std::vector<std::string>& extensions) override {
        QStringList patterns;
        for (const auto& ext : extensions) {
            QString e = QString::fromStdString(ext);
            if (e.startsWith('.')) {
                e.remove(0, 1);
            }
            // Offer the extension in both cases: names on disk are case-sensitive here.
            patterns << "*." + e.toLower() << "*." + e.toUpper();
        }
        FilteredFileDialog dialog(ParentWidget(parent), QString::fromStdString(prompt), patterns);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setLabelText(QFileDialog::LookIn, QString::fromStdString(prompt));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return dialog.selectedFiles().front().toStdString();
    }

    std::optional<std::string> ChooseFolder(Window* parent, const std::string& prompt) override {
        const QString dir =
            QFileDialog::getExistingDirectory(ParentWidget(parent), QString::fromStdString(prompt));
        if (dir.isEmpty()) {
            return std::nullopt;
        }
        return dir.toStdString();
    }

    std::optional<int> PopUpMenu(const std::vector<MenuEntry>& entries) override {
        QMenu menu;
        std::vector<QAction*> actions;
        for (const auto& entry : entries) {
            if (entry.text == "-") {
                actions.push_back(menu.addSeparator());
                continue;
            }
            QAction* action = menu.addAction(QString::fromStdString(entry.text));
            action->setEnabled(entry.enabled);
            actions.push_back(action);
        }
        // At the click that asked for it: the cursor may have moved on since, and under a
        // platform without a pointer it is nowhere in particular.
        const auto at = MouseDownPosition();
        QAction* chosen = menu.exec(at ? QPoint(at->x, at->y) : QCursor::pos());
        for (std::size_t i = 0; i < actions.size(); ++i) {
            if (actions[i] == chosen && chosen != nullptr) {
                return static_cast<int>(i);
            }
        }
        return std::nullopt;
    }
};

std::shared_ptr<ModalUI>& Installed() {
    static std::shared_ptr<ModalUI> ui;
    return ui;
}

}  // namespace

ModalUI& ToolkitModalUI() {
    static QtModalUI toolkit;
    return toolkit;
}

ModalUI& CurrentModalUI() {
    auto& installed = Installed();
    return installed ? *installed : ToolkitModalUI();
}

void SetModalUI(std::shared_ptr<ModalUI> ui) {
    Installed() = std::move(ui);
}

void ScriptedModalUI::ShowMessage(const std::string& text) {
    requests.push_back({"message", text, {}, {}});
}

std::optional<std::string> ScriptedModalUI::ChooseFile(Window*, const std::string& prompt,
                                                       const std::vector<std::string>& extensions) {
    requests.push_back({"file", prompt, extensions, {}});
    if (fileAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedModalUI::ChooseFolder(Window*, const std::string& prompt) {
    requests.push_back({"folder", prompt, {}, {}});
    if (folderAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

std::optional<int> ScriptedModalUI::PopUpMenu(const std::vector<MenuEntry>& entries) {
    requests.push_back({"menu", {}, {}, entries});
    if (menuAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = menuAnswers.front();
    menuAnswers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedModalUI::Messages() const {
    std::vector<std::string> out;
    for (const auto& r : requests) {
        if (r.kind == "message") {
            out.push_back(r.text);
        }
    }
    return out;
}

}  // namespace fw

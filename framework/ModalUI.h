#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class Window;

struct MenuEntry {
    std::string text;
    bool enabled = true;
};

// Everything that waits for the user goes through this seam: the toolkit implementation shows
// real dialogs, a scripted one answers from a queue and records what was asked.
class ModalUI {
public:
    virtual ~ModalUI() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    // The chosen file's path, or nothing when cancelled. `extensions` limits what is offered.
    virtual std::optional<std::string> ChooseFile(Window* parent, const std::string& prompt,
                                                  const std::vector<std::string>& extensions) = 0;
    virtual std::optional<std::string> ChooseFolder(Window* parent, const std::string& prompt) = 0;
    // The index of the chosen entry, or nothing when the menu was closed without a choice.
    virtual std::optional<int> PopUpMenu(const std::vector<MenuEntry>& entries) = 0;
};

ModalUI& CurrentModalUI();
// The real dialogs and menus, whatever seam is installed.
ModalUI& ToolkitModalUI();
// Installs another seam (tests); null restores the toolkit's.
void SetModalUI(std::shared_ptr<ModalUI> ui);

// Answers from queues and records every request. An empty queue answers "cancelled".
class ScriptedModalUI : public ModalUI {
public:
    struct Request {
        std::string kind;  // "message", "file", "folder", "menu"
        std::string text;  // the message or the prompt
        std::vector<std::string> extensions;
        std::vector<MenuEntry> menu;
    };

    void ShowMessage(const std::string& text) override;
    std::optional<std::string> ChooseFile(Window* parent, const std::string& prompt,
                                          const std::vector<std::string>& extensions) override;
    std::optional<std::string> ChooseFolder(Window* parent, const std::string& prompt) override;
    std::optional<int> PopUpMenu(const std::vector<MenuEntry>& entries) override;

    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    std::deque<std::optional<int>> menuAnswers;
    std::vector<Request> requests;

    std::vector<std::string> Messages() const;
};

}  // namespace fw

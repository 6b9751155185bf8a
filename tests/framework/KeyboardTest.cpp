#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/Keyboard.h"
#include "support/XKeys.h"

namespace {

using fw::Keyboard;

struct KeyEvent {
    QEvent::Type type;
    Qt::Key key;
    bool autoRepeat = false;
};

void Send(QWidget& to, const KeyEvent& e) {
    QKeyEvent event(e.type, e.key, Qt::NoModifier, QString(), e.autoRepeat);
    QApplication::sendEvent(&to, &event);
}

// Without an X server the key events are all there is to go by.
class KeyboardFromEvents : public ::testing::Test {
protected:
    void SetUp() override {
        if (xkeys::OnX()) {
            GTEST_SKIP() << "the X server answers there";
        }
        widget.show();
        QCoreApplication::processEvents();
        LetGo();
    }
    void TearDown() override { LetGo(); }

    void LetGo() {
        for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
            Send(widget, {QEvent::KeyRelease, key});
        }
    }
    std::vector<bool> State() {
        return {Keyboard::AsyncKeyDown(Keyboard::kDelete),
                Keyboard::AsyncKeyDown(Keyboard::kForwardDelete)};
    }

    QWidget widget;
};

TEST_F(KeyboardFromEvents, PressesAndReleasesMakeTheState) {
    struct Case {
        const char* name;
        std::vector<KeyEvent> events;
        bool backspaceDown;
        bool deleteDown;
    };
    const std::vector<Case> cases = {
        {"Delete pressed", {{QEvent::KeyPress, Qt::Key_Delete}}, false, true},
        {"BackSpace pressed", {{QEvent::KeyPress, Qt::Key_Backspace}}, true, false},
        {"pressed and released",
         {{QEvent::KeyPress, Qt::Key_Delete}, {QEvent::KeyRelease, Qt::Key_Delete}},
         false,
         false},
        // Qt reports a held key's repetitions as pairs of a release and a press, both marked.
        {"held and repeating",
         {{QEvent::KeyPress, Qt::Key_Delete},
          {QEvent::KeyRelease, Qt::Key_Delete, true},
          {QEvent::KeyPress, Qt::Key_Delete, true},
          {QEvent::KeyRelease, Qt::Key_Delete, true}},
         false,
         true},
        {"taken by a shortcut", {{QEvent::ShortcutOverride, Qt::Key_Backspace}}, true, false},
        {"another key's release",
         {{QEvent::KeyPress, Qt::Key_Backspace}, {QEvent::KeyRelease, Qt::Key_Delete}},
         true,
         false},
        {"other keys",
         {{QEvent::KeyPress, Qt::Key_A}, {QEvent::KeyPress, Qt::Key_Period}},
         false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& e : c.events) {
            Send(widget, e);
        }
        EXPECT_EQ(State(), (std::vector<bool>{c.backspaceDown, c.deleteDown}));
        LetGo();
    }
}

// Qt drops the key events of a window that a modal session blocks, so a release may never come;
// the state from before the session, and from within it, is forgotten when it starts and ends.
TEST_F(KeyboardFromEvents, AModalSessionForgetsEveryKeyAsItStartsAndEnds) {
    Send(widget, {QEvent::KeyPress, Qt::Key_Delete});
    ASSERT_EQ(State(), (std::vector<bool>{false, true}));

    QDialog dialog;
    std::vector<bool> atStart;
    std::vector<bool> within;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!dialog.isVisible()) {
            return;
        }
        poll.stop();
        atStart = State();
        Send(dialog, {QEvent::KeyPress, Qt::Key_Backspace});
        within = State();
        dialog.accept();
    });
    poll.start();
    dialog.exec();
    EXPECT_EQ(atStart, (std::vector<bool>{false, false}));
    EXPECT_EQ(within, (std::vector<bool>{true, false}));
    EXPECT_EQ(State(), (std::vector<bool>{false, false}));

    // A window that blocks nothing forgets nothing.
    Send(widget, {QEvent::KeyPress, Qt::Key_Delete});
    QWidget other;
    other.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(State(), (std::vector<bool>{false, true}));
}

// Keys released while another application has the keyboard are never reported.
TEST_F(KeyboardFromEvents, LosingTheKeyboardForgetsEveryKey) {
    struct Case {
        const char* name;
        std::function<void()> lose;
    };
    const std::vector<Case> cases = {
        {"application deactivated",
         [] {
             QEvent event(QEvent::ApplicationDeactivate);
             QCoreApplication::sendEvent(qApp, &event);
         }},
        {"application inactive",
         [] {
             QApplicationStateChangeEvent event(Qt::ApplicationInactive);
             QCoreApplication::sendEvent(qApp, &event);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Send(widget, {QEvent::KeyPress, Qt::Key_Delete});
        Send(widget, {QEvent::KeyPress, Qt::Key_Backspace});
        c.lose();
        EXPECT_EQ(State(), (std::vector<bool>{false, false}));
    }
    // Becoming active again is no reason to forget.
    Send(widget, {QEvent::KeyPress, Qt::Key_Delete});
    QApplicationStateChangeEvent active(Qt::ApplicationActive);
    QCoreApplication::sendEvent(qApp, &active);
    EXPECT_EQ(State(), (std::vector<bool>{false, true}));
}

// On an X server the server's key state answers: what is held, not what the events said.
class KeyboardOnX : public ::testing::Test {
protected:
    void SetUp() override {
        if (!xkeys::OnX()) {
            GTEST_SKIP() << "needs an X server";
        }
    }
};

TEST_F(KeyboardOnX, TheServerTellsWhichKeyIsHeld) {
    struct Case {
        const char* keysym;
        fw::Int32 code;
        fw::Int32 other;
    };
    const std::vector<Case> cases = {
        {"BackSpace", Keyboard::kDelete, Keyboard::kForwardDelete},
        {"Delete", Keyboard::kForwardDelete, Keyboard::kDelete},
        {"KP_Delete", Keyboard::kForwardDelete, Keyboard::kDelete},
    };
    // No event is processed in between: only the server can know.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keysym);
        xkeys::HeldKey key(c.keysym);
        ASSERT_TRUE(key.Press());
        EXPECT_TRUE(Keyboard::AsyncKeyDown(c.code));
        EXPECT_FALSE(Keyboard::AsyncKeyDown(c.other));
        ASSERT_TRUE(key.Release());
        EXPECT_FALSE(Keyboard::AsyncKeyDown(c.code));
    }
}

TEST_F(KeyboardOnX, KeyEventsAloneHoldNoKey) {
    QWidget widget;
    widget.show();
    QCoreApplication::processEvents();
    // A press that the server never saw, and no release after it.
    Send(widget, {QEvent::KeyPress, Qt::Key_Delete});
    Send(widget, {QEvent::KeyPress, Qt::Key_Backspace});
    EXPECT_FALSE(Keyboard::AsyncKeyDown(Keyboard::kForwardDelete));
    EXPECT_FALSE(Keyboard::AsyncKeyDown(Keyboard::kDelete));
    // Another key held is no delete key.
    for (const char* keysym : {"a", "Right", "Shift_L"}) {
        SCOPED_TRACE(keysym);
        xkeys::HeldKey key(keysym);
        ASSERT_TRUE(key.Press());
        EXPECT_FALSE(Keyboard::AsyncKeyDown(Keyboard::kForwardDelete));
        EXPECT_FALSE(Keyboard::AsyncKeyDown(Keyboard::kDelete));
    }
}

// One keycode's symbols changed in the server for the life of the guard, on a keycode that had
// none; xdotool finds the key by its first symbol.
class RemappedKey {
public:
    explicit RemappedKey(xcb_connection_t* connection) : connection_(connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        auto* reply = xcb_get_keyboard_mapping_reply(
            connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, count), nullptr);
        if (reply == nullptr) {
            return;
        }
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
        const int per = reply->keysyms_per_keycode;
        for (int i = count - 1; i >= 0 && keycode_ == 0; --i) {
            bool empty = true;
            for (int j = 0; j < per; ++j) {
                empty = empty && syms[i * per + j] == 0;
            }
            if (empty) {
                keycode_ = static_cast<xcb_keycode_t>(setup->min_keycode + i);
            }
        }
        for (int i = 0; i < count * per; ++i) {
            symbolInUse_ = symbolInUse_ || syms[i] == kSpare;
        }
        std::free(reply);
    }
    ~RemappedKey() {
        if (keycode_ != 0) {
            Map({0});
        }
    }
    RemappedKey(const RemappedKey&) = delete;
    RemappedKey& operator=(const RemappedKey&) = delete;

    // A keycode without symbols was found, and the spare symbol is nowhere else.
    bool Usable() const { return keycode_ != 0 && !symbolInUse_; }

    // Gives the key these symbols, level by level, and waits until the server has done it.
    void Map(std::vector<xcb_keysym_t> syms) {
        xcb_change_keyboard_mapping(connection_, 1, keycode_,
                                    static_cast<std::uint8_t>(syms.size()), syms.data());
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }

    // F33, which no keyboard of ours has.
    static constexpr xcb_keysym_t kSpare = 0xffde;
    static constexpr const char* kSpareName = "F33";

private:
    xcb_connection_t* connection_;
    xcb_keycode_t keycode_ = 0;
    bool symbolInUse_ = false;
};

// A key's own symbol names it, as the layout has it at this moment: Delete on a shifted level
// makes no delete key, and a key remapped while held is what it is now.
TEST_F(KeyboardOnX, TheLayoutOfTheMomentNamesTheKeys) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr);
    RemappedKey remapped(x11->connection());
    ASSERT_TRUE(remapped.Usable());
    constexpr xcb_keysym_t kXkBackSpace = 0xff08;
    constexpr xcb_keysym_t kXkDelete = 0xffff;
    remapped.Map({RemappedKey::kSpare, kXkDelete});

    xkeys::HeldKey key(RemappedKey::kSpareName);
    ASSERT_TRUE(key.Press());
    EXPECT_FALSE(Keyboard::AsyncKeyDown(Keyboard::kForwardDelete));
    remapped.Map({kXkBackSpace});
    EXPECT_TRUE(Keyboard::AsyncKeyDown(Keyboard::kDelete));
    // Mapped back, so that xdotool finds the key it holds.
    remapped.Map({RemappedKey::kSpare, kXkDelete});
    ASSERT_TRUE(key.Release());
    EXPECT_FALSE(Keyboard::AsyncKeyDown(Keyboard::kDelete));
}

}  // namespace

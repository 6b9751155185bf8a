#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Keyboard.h"
#include "framework/Mouse.h"
#include "framework/Movie.h"
#include "framework/MoviePlayer.h"
#include "support/ListTestUtil.h"
#include "support/MainFixture.h"
#include "support/SoundFiles.h"
#include "support/XKeys.h"

namespace {

using listtest::ColumnTexts;
using listtest::SelectedRows;
using listtest::View;

const std::vector<std::string> kTexts = {"파일을 목록에 추가", "폴더의 파일들을 목록에 추가", "-",
                                         "목록에서 제거", "재생"};
const char* const kKeepConverting = "변환중인 파일은 삭제할 수 없습니다.";

class ContextMenu : public MainFixture {
protected:
    // The handler as the list raises it for a mouse-down of that kind.
    bool MouseDown(bool contextual) {
        fw::ContextualClickScope scope(contextual);
        return window->AlternatingList1_MouseDown(List(), 10, 10);
    }
    std::vector<fw::ScriptedModalUI::Request> Menus() {
        std::vector<fw::ScriptedModalUI::Request> out;
        for (const auto& r : ui->requests) {
            if (r.kind == "menu") {
                out.push_back(r);
            }
        }
        return out;
    }
    void PressOnRow(fw::Int32 row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) {
        QCoreApplication::processEvents();
        QTest::mousePress(View(List())->viewport(), button, modifiers,
                          View(List())->CellRect(row, 0).center());
        QTest::mouseRelease(View(List())->viewport(), button, modifiers,
                            View(List())->CellRect(row, 0).center());
        QCoreApplication::processEvents();
    }
};

TEST_F(ContextMenu, AnOrdinaryClickShowsNoMenu) {
    AddRows({"a.wav"});
    EXPECT_FALSE(MouseDown(false));
    EXPECT_TRUE(ui->requests.empty());
}

// The five entries in order; the last two only with a row selected.
TEST_F(ContextMenu, EntriesAndWhenTheyCanBeChosen) {
    AddRows({"a.wav", "b.wav"});
    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected);
        ui->requests.clear();
        List().SetListIndex(selected ? 1 : -1);
        EXPECT_FALSE(MouseDown(true));  // closed without a choice
        ASSERT_EQ(Menus().size(), 1u);
        const auto entries = Menus()[0].menu;
        ASSERT_EQ(entries.size(), kTexts.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].text, kTexts[i]);
            EXPECT_EQ(entries[i].enabled, i < 3 || selected) << i;
        }
        // Nothing ran.
        EXPECT_EQ(ui->requests.size(), 1u);
        EXPECT_EQ(List().ListCount(), 2);
    }
}

// Each entry runs its action and nothing else, and a choice claims the click. Without a
// selection the last two cannot be chosen, whatever is answered.
TEST_F(ContextMenu, EachEntryRunsItsAction) {
    struct Case {
        const char* name;
        int entry;
        bool selected;                   // row 0 is selected when the menu pops up
        bool claimed;                    // what the handler returns
        std::vector<std::string> asked;  // what the action asked the user, after the menu
        std::vector<std::string> rows;   // the list's names afterwards
        bool plays;                      // whether row 0's file is the player's afterwards
    };
    const std::vector<Case> cases = {
        {"add a file", 0, false, true, {"file"}, {"a.wav", "added.wav"}, false},
        {"add a folder's files", 1, false, true, {"folder"}, {"a.wav", "in folder.wav"}, false},
        {"a separator is no choice", 2, true, false, {}, {"a.wav"}, false},
        {"remove", 3, true, true, {}, {}, false},
        {"play", 4, true, true, {}, {"a.wav"}, true},
        {"remove, nothing selected", 3, false, false, {}, {"a.wav"}, false},
        {"play, nothing selected", 4, false, false, {}, {"a.wav"}, false},
    };
    const auto added = MakeFile("added.wav");
    ASSERT_TRUE(QDir(dir.path()).mkpath("folder"));
    MakeFile("folder/in folder.wav");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        List().DeleteAllRows();
        AddRows({"a.wav"});
        const std::string first = List().Cell(0, 2) + "/a.wav";
        List().SetListIndex(c.selected ? 0 : -1);
        window->Player().SetMovie(nullptr);
        ui->requests.clear();
        ui->fileAnswers = {added->NativePath()};
        ui->folderAnswers = {dir.filePath("folder").toStdString()};
        ui->menuAnswers = {c.entry};

        EXPECT_EQ(MouseDown(true), c.claimed);
        std::vector<std::string> asked;
        for (std::size_t i = 1; i < ui->requests.size(); ++i) {
            asked.push_back(ui->requests[i].kind);
        }
        ASSERT_FALSE(ui->requests.empty());
        EXPECT_EQ(ui->requests[0].kind, "menu");
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(ColumnTexts(List(), 0), c.rows);
        const auto* movie = window->Player().Movie().get();
        EXPECT_EQ(movie != nullptr && movie->Path() == first, c.plays);
        if (!c.plays) {
            EXPECT_EQ(movie, nullptr);
        }
    }
    window->Player().SetMovie(nullptr);
}

// The actions see the selection from before the click: the row under the mouse is not selected
// by a click that chose an entry.
TEST_F(ContextMenu, ARightClickOnAnotherRowActsOnTheSelection) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
    List().SetSelected(1, true);
    List().SetSelected(3, true);
    ui->menuAnswers.push_back(4);
    PressOnRow(2, Qt::RightButton);
    EXPECT_EQ(window->Player().Movie()->Path(), List().Cell(1, 2) + "/b.wav");
    EXPECT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{1, 3}));

    ui->menuAnswers.push_back(3);
    PressOnRow(0, Qt::RightButton);
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"a.wav", "c.wav"}));
    EXPECT_EQ(Status(), "0 / 2 선택됨");

    // Closed without a choice, the click is the list's: it selects the row under the mouse.
    PressOnRow(1, Qt::RightButton);
    EXPECT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{1}));
    EXPECT_EQ(List().ListCount(), 2);
}

TEST_F(ContextMenu, WhichClicksAreContextual) {
    AddRows({"a.wav", "b.wav"});
    struct Case {
        const char* name;
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        bool contextual;
    };
    const std::vector<Case> cases = {
        {"secondary", Qt::RightButton, Qt::NoModifier, true},
        {"primary with Meta", Qt::LeftButton, Qt::MetaModifier, true},
        {"primary", Qt::LeftButton, Qt::NoModifier, false},
        {"primary with Control toggles", Qt::LeftButton, Qt::ControlModifier, false},
        {"middle", Qt::MiddleButton, Qt::NoModifier, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui->requests.clear();
        PressOnRow(1, c.button, c.modifiers);
        EXPECT_EQ(Menus().size(), c.contextual ? 1u : 0u);
    }
    EXPECT_FALSE(fw::IsContextualClick());
}

// The real menu, with the dialogs still scripted.
class ToolkitMenu : public fw::ScriptedModalUI {
public:
    std::optional<int> PopUpMenu(const std::vector<fw::MenuEntry>& entries) override {
        return fw::ToolkitModalUI().PopUpMenu(entries);
    }
};

class RealMenu : public ContextMenu {
protected:
    void SetUp() override {
        ContextMenu::SetUp();
        toolkitMenu = std::make_shared<ToolkitMenu>();
        ui = toolkitMenu;
        fw::SetModalUI(ui);
        QCoreApplication::processEvents();
    }
    // Right-clicks row `row` and, once the menu shows, hands it to `act`.
    void RightClickAndThen(fw::Int32 row, std::function<void(QMenu&)> act) {
        bool shown = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            shown = true;
            act(*menu);
        });
        PressOnRow(row, Qt::RightButton);
        EXPECT_TRUE(shown);
    }
    QAction* ActionOf(QMenu& menu, const std::string& text) {
        for (QAction* a : menu.actions()) {
            if (a->text().toStdString() == text) {
                return a;
            }
        }
        return nullptr;
    }
    std::shared_ptr<ToolkitMenu> toolkitMenu;
};

TEST_F(RealMenu, PopsUpAtTheMouseAndRunsTheChosenEntry) {
    AddRows({"a.wav"});
    const auto added = MakeFile("added.wav");
    ui->fileAnswers.push_back(added->NativePath());
    const QPoint click =
        View(List())->viewport()->mapToGlobal(View(List())->CellRect(0, 0).center());
    RightClickAndThen(0, [&](QMenu& menu) {
        EXPECT_EQ(menu.geometry().topLeft(), click);
        ASSERT_EQ(menu.actions().size(), 5);
        EXPECT_TRUE(menu.actions()[2]->isSeparator());
        EXPECT_FALSE(ActionOf(menu, "목록에서 제거")->isEnabled());
        QAction* add = ActionOf(menu, "파일을 목록에 추가");
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(add).center());
    });
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"a.wav", "added.wav"}));
    // The click chose an entry, so the row under it was not selected.
    EXPECT_TRUE(SelectedRows(List()).empty());

    RightClickAndThen(0, [&](QMenu& menu) { QTest::keyClick(&menu, Qt::Key_Escape); });
    EXPECT_EQ(List().ListCount(), 2);
}

// The real message box, with the other dialogs still scripted.
class ToolkitMessages : public fw::ScriptedModalUI {
public:
    void ShowMessage(const std::string& text) override {
        ScriptedModalUI::ShowMessage(text);
        fw::ToolkitModalUI().ShowMessage(text);
    }
};

// Runs `act` on the refusal box once it shows, from within its modal session.
void OnceTheBoxShows(QTimer& poll, std::function<void(QMessageBox&)> act) {
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&poll, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        poll.stop();
        EXPECT_EQ(box->text().toStdString(), kKeepConverting);
        act(*box);
    });
    poll.start();
}

class DeleteKeys : public MainFixture {
protected:
    QWidget* Keys() {
        QCoreApplication::processEvents();
        return View(List());
    }
};

TEST_F(DeleteKeys, BothKeysRemoveTheSelection) {
    for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
        SCOPED_TRACE(key);
        AddRows({"a.wav", "b.wav", "c.wav"});
        List().SetSelected(0, true);
        List().SetSelected(2, true);
        QTest::keyClick(Keys(), key);
        EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"b.wav"}));
        EXPECT_EQ(Status(), "0 / 1 선택됨");
        // With nothing selected they remove nothing.
        QTest::keyClick(Keys(), key);
        EXPECT_EQ(List().ListCount(), 1);
        List().DeleteAllRows();
    }
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(DeleteKeys, TheConvertingRowStaysAndIsReportedOnce) {
    AddRows({"a.wav", "b.wav", "c.wav"});
    List().SetCell(1, 7, "Converting...");
    List().UserSelectAll();
    QTest::keyClick(Keys(), Qt::Key_Delete);
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"b.wav"}));
    EXPECT_EQ(ui->Messages(), (std::vector<std::string>{kKeepConverting}));
}

// What counts is the key held down, not the key of the event; and the list's own handling of
// every key still runs, since the handler never claims one.
TEST_F(DeleteKeys, AnyKeyRemovesWhileADeleteKeyIsHeld) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav", "e.wav", "f.wav"});
    List().SetListIndex(0);
    QTest::keyPress(Keys(), Qt::Key_Delete);
    EXPECT_TRUE(fw::Keyboard::AsyncKeyDown(fw::Keyboard::kForwardDelete));
    EXPECT_EQ(List().ListCount(), 5);
    // Held, the list's arrow key still moves the selection after the removal.
    List().SetListIndex(0);
    QTest::keyClick(Keys(), Qt::Key_Down);
    EXPECT_EQ(ColumnTexts(List(), 0),
              (std::vector<std::string>{"c.wav", "d.wav", "e.wav", "f.wav"}));
    EXPECT_EQ(SelectedRows(List()), (std::vector<fw::Int32>{0}));

    // A held key repeats, and the platform reports each repetition as a release and a press,
    // both marked as repeats: the key stays down throughout, and each repetition removes once.
    // Once nothing is selected, a repetition removes nothing.
    Keys()->setFocus();
    QWindow* window = Keys()->window()->windowHandle();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        if (i < 3) {
            List().SetListIndex(0);
        }
        qt_handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, {}, true);
        EXPECT_TRUE(fw::Keyboard::AsyncKeyDown(fw::Keyboard::kForwardDelete));
        qt_handleKeyEvent(window, QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, {}, true);
        EXPECT_EQ(List().ListCount(), std::max(1, 3 - i));
    }
    QTest::keyRelease(Keys(), Qt::Key_Delete);
    EXPECT_FALSE(fw::Keyboard::AsyncKeyDown(fw::Keyboard::kForwardDelete));
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"f.wav"}));

    // Released, another key removes nothing.
    List().SetListIndex(0);
    QTest::keyClick(Keys(), Qt::Key_A);
    EXPECT_EQ(List().ListCount(), 1);
    EXPECT_TRUE(ui->Messages().empty());
}

// Qt drops a key event for a window that a modal box blocks before any filter of the
// application sees it, so the release of Delete that comes while the refusal is up is never
// heard. Once the box is gone, that key must not count as held.
TEST_F(DeleteKeys, AReleaseWhileTheRefusalIsUpLetsTheKeyGo) {
    ui = std::make_shared<ToolkitMessages>();
    fw::SetModalUI(ui);
    AddRows({"a.wav", "b.wav", "c.wav"});
    List().SetCell(0, 7, "Converting...");
    List().SetListIndex(0);
    QWidget* view = Keys();
    QWindow* blocked = view->window()->windowHandle();
    ASSERT_NE(blocked, nullptr);

    bool answered = false;
    QTimer poll;
    OnceTheBoxShows(poll, [&](QMessageBox& box) {
        // Delivered as the platform delivers it: to the window that had the keyboard.
        QTest::keyRelease(blocked, Qt::Key_Delete);
        QTest::keyClick(&box, Qt::Key_Return);
        answered = true;
    });
    QTest::keyPress(view, Qt::Key_Delete);
    ASSERT_TRUE(answered);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(ui->Messages(), (std::vector<std::string>{kKeepConverting}));
    EXPECT_EQ(List().ListCount(), 3);

    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Shift, Qt::Key_Down}) {
        SCOPED_TRACE(key);
        List().SetListIndex(1);
        QTest::keyClick(Keys(), key);
        EXPECT_EQ(List().ListCount(), 3);
    }
    // The key itself still removes, once pressed again.
    List().SetListIndex(1);
    QTest::keyClick(Keys(), Qt::Key_Delete);
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"a.wav", "c.wav"}));
    EXPECT_EQ(ui->Messages().size(), 1u);
}

TEST_F(DeleteKeys, TheHandlerNeverClaimsAKey) {
    AddRows({"a.wav", "b.wav"});
    List().SetListIndex(0);
    EXPECT_FALSE(window->AlternatingList1_KeyDown(List(), "a"));
    EXPECT_EQ(List().ListCount(), 2);
    QTest::keyPress(Keys(), Qt::Key_Backspace);
    EXPECT_TRUE(fw::Keyboard::AsyncKeyDown(fw::Keyboard::kDelete));
    List().SetListIndex(0);
    EXPECT_FALSE(window->AlternatingList1_KeyDown(List(), "x"));
    EXPECT_EQ(List().ListCount(), 0);
    EXPECT_FALSE(window->AlternatingList1_KeyDown(List(), "x"));
    QTest::keyRelease(Keys(), Qt::Key_Backspace);
}

// The real window in a real X server, keys pressed and released there for real: the server's
// key state is what the handler goes by.
class DeleteKeysOnX : public MainFixture {
protected:
    void SetUp() override {
        if (!xkeys::OnX()) {
            GTEST_SKIP() << "needs an X server";
        }
        MainFixture::SetUp();
        ui = std::make_shared<ToolkitMessages>();
        fw::SetModalUI(ui);
        window->Widget()->show();
        Activate();
        View(List())->installEventFilter(&presses);
    }
    void TearDown() override {
        if (window) {
            MainFixture::TearDown();
        }
    }

    // Gives the window the keyboard, as a window manager does again once a box on it closes:
    // without one, the server leaves the keyboard with nobody.
    void Activate() {
        window->Widget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window->Widget()));
        View(List())->setFocus();
    }

    // Counts the presses that reach the list, so that a test knows when a key it pressed in
    // the server has been handled.
    class Presses : public QObject {
    public:
        int count = 0;

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::KeyPress) {
                ++count;
            }
            return QObject::eventFilter(watched, event);
        }
    };

    // Taps a key in the server and waits until the list has handled it.
    void Tap(const char* keysym) {
        const int before = presses.count;
        ASSERT_TRUE(xkeys::Tap(keysym));
        EXPECT_TRUE(QTest::qWaitFor([&] { return presses.count > before; }, 5000)) << keysym;
    }

    Presses presses;
};

TEST_F(DeleteKeysOnX, TheKeyLetGoWhileTheRefusalIsUpRemovesNothingAfter) {
    AddRows({"a.wav", "b.wav", "c.wav", "d.wav"});
    List().SetCell(0, 7, "Converting...");
    List().SetListIndex(0);

    xkeys::HeldKey del("Delete");
    bool answered = false;
    QTimer poll;
    OnceTheBoxShows(poll, [&](QMessageBox& box) {
        EXPECT_TRUE(del.Release());
        // Whichever window the server gave the release to has had it.
        QTest::qWait(50);
        QTest::keyClick(&box, Qt::Key_Return);
        answered = true;
    });
    ASSERT_TRUE(del.Press());
    EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, 5000));
    EXPECT_EQ(ui->Messages(), (std::vector<std::string>{kKeepConverting}));
    EXPECT_EQ(List().ListCount(), 4);

    Activate();
    List().SetListIndex(1);
    Tap("Right");
    Tap("Shift_L");
    EXPECT_EQ(List().ListCount(), 4);

    // Held, the key removes, and so does any other key on the next row; let go, none does.
    List().SetListIndex(1);
    ASSERT_TRUE(del.Press());
    EXPECT_TRUE(QTest::qWaitFor([&] { return List().ListCount() == 3; }, 5000));
    List().SetListIndex(1);
    Tap("Right");
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"a.wav", "d.wav"}));
    ASSERT_TRUE(del.Release());
    List().SetListIndex(1);
    Tap("Right");
    EXPECT_EQ(ColumnTexts(List(), 0), (std::vector<std::string>{"a.wav", "d.wav"}));
    EXPECT_EQ(ui->Messages().size(), 1u);
}

}  // namespace

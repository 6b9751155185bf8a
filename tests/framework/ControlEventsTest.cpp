#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/DragItem.h"
#include "framework/FolderItem.h"
#include "framework/Listbox.h"

namespace {

// Raising needs a counted reference to the control, as windows hold them.
std::shared_ptr<fw::Listbox> MakeList() {
    return std::make_shared<fw::Listbox>();
}

TEST(ControlEventsTest, ListboxDeclaresItsEventTable) {
    const auto list = MakeList();
    std::vector<std::pair<std::string, std::string>> events;
    for (const auto& e : list->Events()) {
        events.emplace_back(e.name, e.signature);
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Open", "(  )"},
        {"DropObject", "( DragItem, Int32 )"},
        {"DoubleClick", "(  )"},
        {"MouseDown", "( Int32, Int32 ) as Boolean"},
        {"KeyDown", "( String ) as Boolean"},
        {"Change", "(  )"},
    };
    EXPECT_EQ(events, expected);
}

TEST(ControlEventsTest, WrongBindingRaisesAndConnectsNothing) {
    using Plain = void(fw::Listbox&);
    using Mouse = bool(fw::Listbox&, fw::Int32, fw::Int32);
    struct Case {
        const char* name;
        const char* event;
        std::function<void(fw::Listbox&)> connect;
    };
    const std::vector<Case> cases = {
        {"unknown event", "Opened",
         [](fw::Listbox& l) { l.Connect<Plain>("Opened", "(  )", [](fw::Listbox&) {}); }},
        {"event name in another case", "open",
         [](fw::Listbox& l) { l.Connect<Plain>("open", "(  )", [](fw::Listbox&) {}); }},
        {"signature without its inner spaces", "Open",
         [](fw::Listbox& l) { l.Connect<Plain>("Open", "()", [](fw::Listbox&) {}); }},
        {"signature of another event", "MouseDown",
         [](fw::Listbox& l) {
             l.Connect<Mouse>("MouseDown", "( Int32, Int32 )",
                              [](fw::Listbox&, fw::Int32, fw::Int32) { return false; });
         }},
        {"handler without the Boolean result", "MouseDown",
         [](fw::Listbox& l) {
             l.Connect<void(fw::Listbox&, fw::Int32, fw::Int32)>(
                 "MouseDown", "( Int32, Int32 ) as Boolean",
                 [](fw::Listbox&, fw::Int32, fw::Int32) {});
         }},
        {"handler with too few arguments", "MouseDown",
         [](fw::Listbox& l) {
             l.Connect<bool(fw::Listbox&, fw::Int32)>("MouseDown", "( Int32, Int32 ) as Boolean",
                                                      [](fw::Listbox&, fw::Int32) { return true; });
         }},
        {"handler taking the key by value", "KeyDown",
         [](fw::Listbox& l) {
             l.Connect<bool(fw::Listbox&, std::string)>(
                 "KeyDown", "( String ) as Boolean",
                 [](fw::Listbox&, std::string) { return true; });
         }},
        {"handler of a plain event given to DropObject", "DropObject",
         [](fw::Listbox& l) {
             l.Connect<Plain>("DropObject", "( DragItem, Int32 )", [](fw::Listbox&) {});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto list = MakeList();
        EXPECT_THROW(c.connect(*list), fw::EventBindingException);
        EXPECT_FALSE(list->IsConnected(c.event));
        // Nothing was connected, so raising finds no handler.
        EXPECT_FALSE(list->RaiseMouseDown(1, 2));
    }
}

TEST(ControlEventsTest, FailedBindingKeepsTheHandlerAlreadyConnected) {
    const auto list = MakeList();
    list->Connect<bool(fw::Listbox&, fw::Int32, fw::Int32)>(
        "MouseDown", "( Int32, Int32 ) as Boolean",
        [](fw::Listbox&, fw::Int32, fw::Int32) { return true; });
    EXPECT_THROW(
        (list->Connect<void(fw::Listbox&, fw::Int32, fw::Int32)>(
            "MouseDown", "( Int32, Int32 ) as Boolean", [](fw::Listbox&, fw::Int32, fw::Int32) {})),
        fw::EventBindingException);
    EXPECT_THROW((list->Connect<bool(fw::Listbox&, fw::Int32, fw::Int32)>(
                     "MouseDown", "( Int32, Int32 )",
                     [](fw::Listbox&, fw::Int32, fw::Int32) { return false; })),
                 fw::EventBindingException);
    EXPECT_TRUE(list->RaiseMouseDown(0, 0));
}

TEST(ControlEventsTest, RaisingAnEventWithoutHandlerDoesNothing) {
    const auto list = MakeList();
    list->AddRow("a");
    fw::DragItem items({});
    EXPECT_NO_THROW(list->RaiseOpen());
    EXPECT_NO_THROW(list->RaiseDoubleClick());
    EXPECT_NO_THROW(list->RaiseChange());
    EXPECT_NO_THROW(list->RaiseDropObject(items, 1));
    EXPECT_FALSE(list->RaiseMouseDown(1, 2));
    EXPECT_FALSE(list->RaiseKeyDown("\x7F"));
    EXPECT_EQ(list->ListCount(), 1);
}

TEST(ControlEventsTest, ConnectedHandlersReceiveTheControlAndArguments) {
    const auto list = MakeList();
    std::vector<std::string> calls;
    list->Connect<void(fw::Listbox&)>("Open", "(  )", [&](fw::Listbox& l) {
        calls.push_back("Open " + std::to_string(l.ListCount()));
    });
    list->Connect<bool(fw::Listbox&, fw::Int32, fw::Int32)>(
        "MouseDown", "( Int32, Int32 ) as Boolean", [&](fw::Listbox&, fw::Int32 x, fw::Int32 y) {
            calls.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
            return x > y;
        });
    list->Connect<bool(fw::Listbox&, const std::string&)>(
        "KeyDown", "( String ) as Boolean", [&](fw::Listbox&, const std::string& key) {
            calls.push_back("KeyDown " + key);
            return key == "x";
        });
    list->Connect<void(fw::Listbox&, fw::DragItem&, fw::Int32)>(
        "DropObject", "( DragItem, Int32 )", [&](fw::Listbox&, fw::DragItem& d, fw::Int32 action) {
            calls.push_back("DropObject " + d.FolderItem()->Name() + " " + std::to_string(action));
        });
    EXPECT_TRUE(list->IsConnected("Open"));
    EXPECT_FALSE(list->IsConnected("Change"));

    list->AddRow("r");
    list->RaiseOpen();
    EXPECT_FALSE(list->RaiseMouseDown(1, 2));
    EXPECT_TRUE(list->RaiseMouseDown(9, 2));
    EXPECT_TRUE(list->RaiseKeyDown("x"));
    EXPECT_FALSE(list->RaiseKeyDown("y"));
    fw::DragItem items({std::make_shared<fw::FolderItem>("/tmp/song.wav")});
    list->RaiseDropObject(items, 2);
    // The unconnected events still do nothing.
    list->RaiseChange();
    list->RaiseDoubleClick();

    EXPECT_EQ(calls, (std::vector<std::string>{"Open 1", "MouseDown 1,2", "MouseDown 9,2",
                                               "KeyDown x", "KeyDown y", "DropObject song.wav 2"}));
}

TEST(ControlEventsTest, HandlerMayReleaseTheLastOtherReferenceToItsControl) {
    auto holder = MakeList();
    std::weak_ptr<fw::Listbox> watch = holder;
    fw::Int32 countAfterRelease = -1;
    holder->Connect<bool(fw::Listbox&, const std::string&)>(
        "KeyDown", "( String ) as Boolean", [&](fw::Listbox& l, const std::string&) {
            holder.reset();
            // Still alive for the rest of the call.
            l.AddRow("still here");
            countAfterRelease = l.ListCount();
            return true;
        });
    fw::Listbox* raw = holder.get();
    EXPECT_TRUE(raw->RaiseKeyDown("\x08"));
    EXPECT_EQ(countAfterRelease, 1);
    EXPECT_TRUE(watch.expired());
}

}  // namespace

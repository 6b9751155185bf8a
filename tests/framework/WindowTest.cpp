#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMainWindow>
#include <QToolBar>

#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Dispatch.h"
#include "framework/Listbox.h"
#include "framework/ModalUI.h"
#include "framework/PropertySet.h"
#include "framework/StaticText.h"
#include "framework/ToolbarItem.h"
#include "framework/Window.h"

namespace {

// The allocations that this thread makes while it counts them.
thread_local bool countingAllocations = false;
thread_local int allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
    if (countingAllocations) {
        ++allocations;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

class BareWindow : public fw::Window {};

void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

TEST(WindowTest, ControlAsOfAMissingOrOtherControlRaisesNilObject) {
    auto window = std::make_shared<BareWindow>();
    EXPECT_THROW(window->ControlAs<fw::Listbox>("AlternatingList1"), fw::NilObjectException);
    window->Register("StatusBar", std::make_shared<fw::StaticText>());
    EXPECT_THROW(window->ControlAs<fw::Listbox>("StatusBar"), fw::NilObjectException);
    // Names are exact.
    EXPECT_THROW(window->ControlAs<fw::StaticText>("statusbar"), fw::NilObjectException);
    EXPECT_NO_THROW(window->ControlAs<fw::StaticText>("StatusBar"));
}

// A window whose creation failed must not be found as the window that exists.
TEST(WindowTest, WindowWhoseCreationFailedIsNotHeld) {
    class FailingWindow : public fw::Window {
    protected:
        void CreateControls() override { throw fw::NilObjectException("no such control"); }
    };
    auto window = std::make_shared<FailingWindow>();
    EXPECT_THROW(window->Constructor(), fw::NilObjectException);
    EXPECT_EQ(fw::Window::FindOpen<FailingWindow>(), nullptr);
}

// The toolbar deletes its actions with the window; an item held longer must not touch them.
TEST(WindowTest, ToolbarItemMayOutliveItsWindow) {
    auto item = std::make_shared<fw::ToolbarItem>();
    {
        auto window = std::make_shared<BareWindow>();
        window->Register("TBFile", item);
        ASSERT_NE(item->Action(), nullptr);
    }
    EXPECT_EQ(item->Action(), nullptr);
    item->SetCaption("Add File");
    item->SetEnabled(false);
    item.reset();
    Settle();
}

TEST(WindowTest, RegisteredControlsAreFoundByName) {
    auto window = std::make_shared<BareWindow>();
    auto list = std::make_shared<fw::Listbox>();
    auto status = std::make_shared<fw::StaticText>();
    window->Register("AlternatingList1", list);
    window->Register("StatusBar", status);
    EXPECT_EQ(window->Lookup("AlternatingList1"), list.get());
    EXPECT_EQ(window->Lookup("StatusBar"), status.get());
    EXPECT_EQ(window->Lookup("Player"), nullptr);
    EXPECT_EQ(&window->ControlAs<fw::Listbox>("AlternatingList1"), list.get());
    EXPECT_EQ(list->Name(), "AlternatingList1");
    EXPECT_EQ(list->OwnerWindow(), window.get());
    ASSERT_EQ(window->Controls().size(), 2u);
    EXPECT_EQ(window->Controls()[0], list);
    EXPECT_EQ(window->Controls()[1], status);
    EXPECT_THROW(window->Register("Nothing", nullptr), fw::NilObjectException);
    EXPECT_EQ(window->Controls().size(), 2u);
}

TEST(WindowTest, BindConnectsAndRecordsBindingsInOrder) {
    auto window = std::make_shared<BareWindow>();
    auto list = std::make_shared<fw::Listbox>();
    window->Register("AlternatingList1", list);
    int opened = 0;
    window->Bind<void(fw::Listbox&)>("AlternatingList1", "Open", "(  )",
                                     [&](fw::Listbox&) { ++opened; });
    window->Bind<bool(fw::Listbox&, const std::string&)>(
        "AlternatingList1", "KeyDown", "( String ) as Boolean",
        [](fw::Listbox&, const std::string&) { return false; });
    window->Bind<void(fw::Listbox&)>("AlternatingList1", "Change", "(  )", [](fw::Listbox&) {});

    // Failures raise and leave no record.
    EXPECT_THROW(
        window->Bind<void(fw::Listbox&)>("AlternatingList1", "Close", "(  )", [](fw::Listbox&) {}),
        fw::EventBindingException);
    EXPECT_THROW(window->Bind<void(fw::Listbox&)>("Missing", "Open", "(  )", [](fw::Listbox&) {}),
                 fw::NilObjectException);

    const auto& bindings = window->Bindings();
    ASSERT_EQ(bindings.size(), 3u);
    const std::vector<std::vector<std::string>> expected = {
        {"AlternatingList1", "Open", "(  )"},
        {"AlternatingList1", "KeyDown", "( String ) as Boolean"},
        {"AlternatingList1", "Change", "(  )"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bindings[i].control, expected[i][0]);
        EXPECT_EQ(bindings[i].event, expected[i][1]);
        EXPECT_EQ(bindings[i].signature, expected[i][2]);
    }
    list->RaiseOpen();
    EXPECT_EQ(opened, 1);
}

// Built as the program builds its window: layout values, then controls, then Open events.
class BuiltWindow : public fw::Window {
public:
    std::string layout;
    bool withToolbar = false;
    std::vector<std::string> log;
    std::function<void()> onFirstOpen;

protected:
    void Layout() override { ApplyPropertySet(layout); }
    void CreateControls() override {
        if (withToolbar) {
            Toolbar()->addAction("Convert");
        }
        for (const char* name : {"First", "Second"}) {
            auto list = std::make_shared<fw::Listbox>();
            const std::string n = name;
            list->Connect<void(fw::Listbox&)>("Open", "(  )", [this, n](fw::Listbox&) {
                log.push_back(n + " Open");
                if (n == "First" && onFirstOpen) {
                    onFirstOpen();
                }
            });
            Register(name, list);
            log.push_back(n + " created");
        }
    }
    void Event_Open() override {
        log.push_back("window Open, controls " + std::to_string(Controls().size()));
    }
};

std::shared_ptr<BuiltWindow> Build(fw::Int32 width, fw::Int32 height, fw::Int32 minWidth = 0,
                                   fw::Int32 minHeight = 0, bool withToolbar = false) {
    auto window = std::make_shared<BuiltWindow>();
    window->layout = fw::PropertySetBuilder()
                         .String("Title", "Tunemill")
                         .Int32("Width", width)
                         .Int32("Height", height)
                         .Int32("MinWidth", minWidth)
                         .Int32("MinHeight", minHeight)
                         .Build();
    window->withToolbar = withToolbar;
    window->Constructor();
    Settle();
    return window;
}

TEST(WindowTest, ConstructorRaisesOpenEventsOnceEveryControlExists) {
    auto window = Build(300, 200);
    EXPECT_EQ(window->log,
              (std::vector<std::string>{"First created", "Second created", "First Open",
                                        "Second Open", "window Open, controls 2"}));
    EXPECT_EQ(window->Title(), "Tunemill");
    EXPECT_TRUE(window->IsVisible());
    EXPECT_EQ(fw::Window::FindOpen<BuiltWindow>(), window);
    window->Close();
    EXPECT_FALSE(window->IsVisible());
    EXPECT_EQ(fw::Window::FindOpen<BuiltWindow>(), nullptr);
}

TEST(WindowTest, FaultInAnOpenHandlerIsReportedAndTheOthersStillRun) {
    auto ui = std::make_shared<fw::ScriptedModalUI>();
    fw::SetModalUI(ui);
    const int reportsBefore = fw::UnhandledExceptionCount();
    auto window = std::make_shared<BuiltWindow>();
    window->onFirstOpen = [] { throw fw::NilObjectException("no such control"); };
    window->Constructor();
    Settle();
    EXPECT_EQ(fw::UnhandledExceptionCount(), reportsBefore + 1);
    EXPECT_EQ(window->log.back(), "window Open, controls 2");
    EXPECT_EQ(window->log[3], "Second Open");
    ASSERT_EQ(ui->Messages().size(), 1u);
    EXPECT_NE(ui->Messages()[0].find("NilObjectException"), std::string::npos);
    window->Close();
    fw::SetModalUI(nullptr);
}

struct SizeCase {
    fw::Int32 width, height;
};
const std::vector<SizeCase> kSizes = {{300, 200}, {640, 480}, {451, 263}, {1000, 120}};

TEST(WindowTest, ResizeContentGivesTheAreaThatSizeBeforeTheWindowIsShown) {
    for (const auto& s : kSizes) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        auto window = std::make_shared<BareWindow>();
        window->ResizeContent(s.width, s.height);
        EXPECT_EQ(window->ContentWidth(), s.width);
        EXPECT_EQ(window->ContentHeight(), s.height);
    }
}

TEST(WindowTest, ResizeContentGivesTheAreaThatSizeOnAShownWindow) {
    for (const bool withToolbar : {false, true}) {
        SCOPED_TRACE(withToolbar ? "with a toolbar" : "without a toolbar");
        auto window = Build(300, 200, 0, 0, withToolbar);
        EXPECT_EQ(window->ContentWidth(), 300);
        EXPECT_EQ(window->ContentHeight(), 200);
        for (const auto& s : kSizes) {
            SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
            window->ResizeContent(s.width, s.height);
            Settle();
            EXPECT_EQ(window->ContentWidth(), s.width);
            EXPECT_EQ(window->ContentHeight(), s.height);
        }
        window->Close();
    }
}

TEST(WindowTest, MinimumSizeLimitsTheArea) {
    struct Case {
        fw::Int32 width, height;
        fw::Int32 expectWidth, expectHeight;
    };
    const std::vector<Case> cases = {
        {50, 50, 200, 150},   {199, 149, 200, 150}, {300, 100, 300, 150},
        {100, 400, 200, 400}, {200, 150, 200, 150}, {350, 260, 350, 260},
    };
    for (const bool withToolbar : {false, true}) {
        SCOPED_TRACE(withToolbar ? "with a toolbar" : "without a toolbar");
        auto window = Build(350, 260, 200, 150, withToolbar);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
            window->ResizeContent(c.width, c.height);
            Settle();
            EXPECT_EQ(window->ContentWidth(), c.expectWidth);
            EXPECT_EQ(window->ContentHeight(), c.expectHeight);
        }
        // The whole window dragged too small: the area still keeps its minimum.
        window->Widget()->resize(20, 20);
        Settle();
        EXPECT_GE(window->ContentWidth(), 200);
        EXPECT_GE(window->ContentHeight(), 150);
        window->Close();
    }
}

// Lookups by name keep their last answer; it must not outlive a rename or name another window's
// control.
TEST(WindowTest, LookupByNameFollowsRenamesAndWindows) {
    auto first = std::make_shared<fw::Window>();
    auto second = std::make_shared<fw::Window>();
    auto a = std::make_shared<fw::Listbox>();
    auto b = std::make_shared<fw::Listbox>();
    first->Register("List", a);
    second->Register("List", b);
    EXPECT_EQ(&first->ControlAs<fw::Listbox>("List"), a.get());
    EXPECT_EQ(&second->ControlAs<fw::Listbox>("List"), b.get());
    EXPECT_EQ(&first->ControlAs<fw::Listbox>("List"), a.get());

    a->SetName("Other");
    EXPECT_THROW(first->ControlAs<fw::Listbox>("List"), fw::NilObjectException);
    EXPECT_EQ(&first->ControlAs<fw::Listbox>("Other"), a.get());

    auto c = std::make_shared<fw::Listbox>();
    first->Register("List", c);
    EXPECT_EQ(&first->ControlAs<fw::Listbox>("List"), c.get());
    // A name that begins or ends like the last one is another name.
    EXPECT_THROW(first->ControlAs<fw::Listbox>("Lis"), fw::NilObjectException);
    EXPECT_THROW(first->ControlAs<fw::Listbox>("List1"), fw::NilObjectException);
    EXPECT_EQ(&first->ControlAs<fw::Listbox>("List"), c.get());
    first->Close();
    second->Close();
}

// Handlers look their controls up a dozen times for each row added: a lookup, by a name longer
// than any short-string buffer, allocates nothing once it has been answered.
TEST(WindowTest, RepeatedLookupByNameAllocatesNothing) {
    auto window = std::make_shared<fw::Window>();
    auto list = std::make_shared<fw::Listbox>();
    window->Register("AlternatingList1", list);
    window->Register("StatusBar", std::make_shared<fw::StaticText>());
    EXPECT_EQ(&window->ControlAs<fw::Listbox>("AlternatingList1"), list.get());
    countingAllocations = true;
    allocations = 0;
    for (int i = 0; i < 100; ++i) {
        window->ControlAs<fw::Listbox>("AlternatingList1");
    }
    countingAllocations = false;
    EXPECT_EQ(allocations, 0);
    window->Close();
}

}  // namespace

#include <QAction>
#include <QHeaderView>
#include <QMainWindow>
#include <QToolBar>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/Dispatch.h"
#include "framework/DragItem.h"
#include "framework/ListboxView.h"
#include "framework/MoviePlayer.h"
#include "framework/PropertySet.h"
#include "framework/Rectangle.h"
#include "framework/Shell.h"
#include "framework/ToolbarItem.h"
#include "support/MainFixture.h"
#include "support/WindowTestUtil.h"

namespace {

using Values = std::vector<std::pair<std::string, fw::PropValue>>;

fw::PropValue B(bool v) {
    return v;
}
fw::PropValue I(fw::Int32 v) {
    return v;
}
fw::PropValue C(std::uint32_t rgb) {
    return fw::RGB(rgb);
}
fw::PropValue S(const char* v) {
    return std::string(v);
}

std::string Describe(const fw::PropValue& v) {
    switch (v.index()) {
        case 0:
            return std::get<bool>(v) ? "True" : "False";
        case 1:
            return std::to_string(std::get<fw::Int32>(v));
        case 2: {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%06X", std::get<fw::Color>(v).rgb);
            return hex;
        }
        default:
            return "\"" + std::get<std::string>(v) + "\"";
    }
}

// Every value of the set, in the set's order: a value missing, changed, added or moved is a fault.
void ExpectLayout(const fw::PropertyHolder& holder, const Values& expected) {
    std::vector<std::string> names;
    for (const auto& [name, value] : expected) {
        names.push_back(name);
        SCOPED_TRACE(name);
        const fw::PropValue* applied = holder.AppliedValue(name);
        ASSERT_NE(applied, nullptr);
        EXPECT_EQ(Describe(*applied), Describe(value));
        EXPECT_EQ(applied->index(), value.index()) << "the value has another type";
    }
    EXPECT_EQ(holder.AppliedOrder(), names);
}

const fw::Int32 kIndex = fw::kLowestInt32;
const char* const kHeadings = "파일 이름\t확장자\t위치\t변환 음질\t진행 상태\t삭제\tNo.\t완료";

Values ToolbarButtonValues(const char* name, const char* caption) {
    return {{"Name", S(name)},       {"Index", I(kIndex)}, {"Enabled", B(true)},
            {"Caption", S(caption)}, {"HelpTag", S("")},   {"HelpTagLong", S("")},
            {"TabPanelIndex", I(0)}};
}

Values StandardItemValues(const char* name, fw::Int32 type) {
    return {{"Name", S(name)}, {"Index", I(kIndex)},       {"Enabled", B(true)},
            {"Type", I(type)}, {"IdentifierOther", S("")}, {"TabPanelIndex", I(0)}};
}

class MainWindow : public MainFixture {
protected:
    fw::ListboxView& View() { return *static_cast<fw::ListboxView*>(List().Widget()); }
    void Resize(int width, int height) {
        window->ResizeContent(width, height);
        testutil::Settle();
    }
};

TEST_F(MainWindow, OpensWithItsAreaTitleAndAnEmptyList) {
    EXPECT_EQ(window->ContentWidth(), 599);
    EXPECT_EQ(window->ContentHeight(), 219);
    EXPECT_EQ(window->Title(), "Tunemill");
    EXPECT_EQ(window->Widget()->windowTitle(), QString("Tunemill"));
    EXPECT_TRUE(window->IsVisible());
    EXPECT_EQ(List().ListCount(), 0);
    EXPECT_EQ(Status(), "0 / 0 선택됨");
    EXPECT_EQ(window->audioIndex, 0);
    EXPECT_EQ(window->cAudioIndex, 0);
    EXPECT_EQ(window->cAudioNo, 0);
    EXPECT_EQ(window->Duration, 0);
}

TEST_F(MainWindow, AreaStaysWithinItsLimits) {
    struct Case {
        int width, height;
        int expectWidth, expectHeight;
    };
    const std::vector<Case> cases = {
        {300, 100, 500, 200}, {499, 199, 500, 200}, {100, 400, 500, 400},
        {700, 50, 700, 200},  {500, 200, 500, 200}, {640, 480, 640, 480},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Resize(c.width, c.height);
        EXPECT_EQ(window->ContentWidth(), c.expectWidth);
        EXPECT_EQ(window->ContentHeight(), c.expectHeight);
    }
    // What the user's drag of the frame does: the window as a whole made too small.
    window->Widget()->resize(50, 50);
    testutil::Settle();
    EXPECT_EQ(window->ContentWidth(), 500);
    EXPECT_EQ(window->ContentHeight(), 200);
    // Growing past 32000 would need a backing store of gigabytes; the limit itself is checked.
    EXPECT_EQ(window->Content()->maximumSize(), QSize(32000, 32000));
    EXPECT_EQ(window->Content()->minimumSize(), QSize(500, 200));
}

TEST_F(MainWindow, ControlsFollowTheAreaByTheirLocks) {
    struct Case {
        int width, height;
    };
    for (const auto& c : std::vector<Case>{{599, 219}, {800, 400}, {500, 200}, {1200, 700}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Resize(c.width, c.height);
        ASSERT_EQ(window->ContentWidth(), c.width);
        ASSERT_EQ(window->ContentHeight(), c.height);
        // The list keeps 20 pixels left and right, 14 above and 32 below.
        EXPECT_EQ(List().Widget()->geometry(), QRect(20, 14, c.width - 40, c.height - 14 - 32));
        // The strip reaches 9 pixels past both sides and covers the bottom 20 pixels.
        EXPECT_EQ(window->Rectangle1().Widget()->geometry(),
                  QRect(-9, c.height - 20, c.width + 18, 20));
        // The status line keeps its distance to the bottom edge (it reaches 1 pixel past it).
        EXPECT_EQ(window->StatusBar().Widget()->geometry(),
                  QRect(7, c.height - 19, c.width - 14, 20));
        // The player stays where it was put, below the area.
        EXPECT_EQ(window->Player().DesignGeometry(), (fw::Rect{97, 239, 21, 20}));
    }
}

TEST_F(MainWindow, ListShowsTheEightHeadingsInOrder) {
    const std::vector<std::string> expected = {"파일 이름", "확장자", "위치", "변환 음질",
                                               "진행 상태", "삭제",   "No.",  "완료"};
    ASSERT_EQ(List().ColumnCount(), 8);
    EXPECT_TRUE(List().HasHeading());
    QHeaderView* header = View().Header();
    ASSERT_EQ(header->count(), 8);
    EXPECT_TRUE(header->isVisible());
    for (int c = 0; c < 8; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(List().Heading(c), expected[static_cast<std::size_t>(c)]);
        EXPECT_EQ(header->model()->headerData(c, Qt::Horizontal).toString().toStdString(),
                  expected[static_cast<std::size_t>(c)]);
    }
    // The heading line is not a row.
    EXPECT_EQ(List().ListCount(), 0);
}

TEST_F(MainWindow, ColumnsShareTheListsWidthAndNumberIsHidden) {
    const double shares[] = {27, 8, 15, 10, 20, 7, 0, 13};
    for (const auto& size : std::vector<std::pair<int, int>>{{599, 219}, {800, 400}, {1200, 300}}) {
        SCOPED_TRACE(std::to_string(size.first));
        Resize(size.first, size.second);
        QHeaderView* header = View().Header();
        const int inner = View().viewport()->width();
        ASSERT_GT(inner, 0);
        int total = 0;
        for (int c = 0; c < 8; ++c) {
            SCOPED_TRACE(c);
            const double wanted = shares[c] * inner / 100.0;
            if (c == 7) {
                // The last column may also take the pixels that rounding left over.
                EXPECT_GT(header->sectionSize(c), wanted - 1.0) << " of " << inner;
                EXPECT_LT(header->sectionSize(c), wanted + 8.0) << " of " << inner;
            } else {
                EXPECT_LT(std::abs(header->sectionSize(c) - wanted), 1.0)
                    << header->sectionSize(c) << " of " << inner;
            }
            total += header->sectionSize(c);
        }
        EXPECT_EQ(header->sectionSize(6), 0);
        EXPECT_LE(total, inner);
        EXPECT_GE(total, inner - 8);
    }
}

TEST_F(MainWindow, ListSelectsSeveralRowsAtOnce) {
    EXPECT_EQ(List().SelectionType(), 1);
    AddRows({"a.mp3", "b.mp3", "c.mp3"});
    List().UserClick(0, fw::Listbox::ClickKind::Plain);
    List().UserClick(2, fw::Listbox::ClickKind::Toggle);
    EXPECT_TRUE(List().Selected(0));
    EXPECT_FALSE(List().Selected(1));
    EXPECT_TRUE(List().Selected(2));
    EXPECT_EQ(Status(), "2 / 3 선택됨");
}

TEST_F(MainWindow, ToolbarShowsItsItemsInCreationOrder) {
    QToolBar* bar = window->Widget()->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    const QList<QAction*> actions = bar->actions();
    ASSERT_EQ(actions.size(), 7);

    struct Button {
        int index;
        const char* caption;
        fw::ToolbarItem& item;
    };
    const std::vector<Button> buttons = {
        {0, "Add File", window->TBFile()},   {1, "Add Folder", window->TBFolder()},
        {3, "Play", window->TBPlay()},       {4, "Stop", window->TBStop()},
        {6, "Convert", window->TBConvert()},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.caption);
        QAction* a = actions[b.index];
        EXPECT_EQ(a, b.item.Action());
        EXPECT_EQ(a->text().toStdString(), b.caption);
        EXPECT_EQ(b.item.Caption(), b.caption);
        EXPECT_TRUE(a->isEnabled());
        EXPECT_TRUE(b.item.Enabled());
        EXPECT_TRUE(a->isVisible());
        EXPECT_FALSE(a->isSeparator());
        EXPECT_EQ(bar->widgetForAction(a)->isVisible(), true);
    }

    // Type 3, between "Add Folder" and "Play", is a flexible space.
    EXPECT_EQ(actions[2], window->StandardToolbarItem1().Action());
    EXPECT_EQ(window->StandardToolbarItem1().Type(), 3);
    QWidget* spacer = bar->widgetForAction(actions[2]);
    ASSERT_NE(spacer, nullptr);
    EXPECT_EQ(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    // Type 1, between "Stop" and "Convert", is a separator.
    EXPECT_EQ(actions[5], window->StandardToolbarItem2().Action());
    EXPECT_EQ(window->StandardToolbarItem2().Type(), 1);
    EXPECT_TRUE(actions[5]->isSeparator());

    // The space takes up what the window gains, so Play moves right with it.
    const int narrowSpace = spacer->width();
    const int narrowPlay = bar->widgetForAction(actions[3])->x();
    Resize(800, 219);
    EXPECT_GT(spacer->width(), narrowSpace + 150);
    EXPECT_GT(bar->widgetForAction(actions[3])->x(), narrowPlay + 150);
}

TEST_F(MainWindow, PlayerIsHiddenWithItsSoundOn) {
    EXPECT_FALSE(window->Player().Visible());
    ASSERT_NE(window->Player().Widget(), nullptr);
    EXPECT_FALSE(window->Player().Widget()->isVisible());
    EXPECT_TRUE(window->Player().Speaker());
}

// Records what the window holds before its own Open event.
class OpenProbe : public Main {
public:
    void CreateControls() override {
        Main::CreateControls();
        bitrateBeforeOpen = bitrate;
        statusBeforeOpen = StatusBar().Text();
    }
    std::vector<fw::Int32> bitrateBeforeOpen = {-1};
    std::string statusBeforeOpen = "unset";
};

TEST_F(MainWindow, BitRatesAreEmptyUntilTheWindowOpensThenNinetySixToHundredNinetyTwo) {
    EXPECT_EQ(window->bitrate, (std::vector<fw::Int32>{96, 128, 192}));

    window->Close();
    auto probe = std::make_shared<OpenProbe>();
    probe->Constructor();
    testutil::Settle();
    EXPECT_TRUE(probe->bitrateBeforeOpen.empty());
    // The status line is empty until the list's Open handler writes it.
    EXPECT_EQ(probe->statusBeforeOpen, "");
    EXPECT_EQ(probe->bitrate, (std::vector<fw::Int32>{96, 128, 192}));
    EXPECT_EQ(probe->StatusBar().Text(), "0 / 0 선택됨");
    // A new row has rating 2, which the table turns into 128 kbit/s.
    EXPECT_EQ(probe->bitrate[2 - 1], 128);
    probe->Close();
}

TEST_F(MainWindow, AskingForTheWindowGivesTheOneThatExists) {
    EXPECT_EQ(Main::Instance(), window);
    EXPECT_EQ(Main::Instance(), window);
    int mains = 0;
    for (const auto& w : fw::Window::OpenWindows()) {
        mains += std::dynamic_pointer_cast<Main>(w) != nullptr;
    }
    EXPECT_EQ(mains, 1);
}

TEST_F(MainWindow, ConnectsTheTwentyEventsInTheirOrder) {
    const std::vector<fw::Window::Binding> expected = {
        {"AlternatingList1", "Open", "(  )"},
        {"AlternatingList1", "DropObject", "( DragItem, Int32 )"},
        {"AlternatingList1", "DoubleClick", "(  )"},
        {"AlternatingList1", "MouseDown", "( Int32, Int32 ) as Boolean"},
        {"AlternatingList1", "KeyDown", "( String ) as Boolean"},
        {"AlternatingList1", "Change", "(  )"},
        {"WinShell", "DataAvailable", "(  )"},
        {"WinShell", "Completed", "(  )"},
        {"TBFile", "Open", "(  )"},
        {"TBFile", "Action", "(  )"},
        {"TBFolder", "Open", "(  )"},
        {"TBFolder", "Action", "(  )"},
        {"Player", "Stop", "(  )"},
        {"Player", "Play", "(  )"},
        {"TBPlay", "Open", "(  )"},
        {"TBPlay", "Action", "(  )"},
        {"TBStop", "Open", "(  )"},
        {"TBStop", "Action", "(  )"},
        {"TBConvert", "Open", "(  )"},
        {"TBConvert", "Action", "(  )"},
    };
    const auto& bindings = window->Bindings();
    ASSERT_EQ(bindings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(bindings[i].control, expected[i].control);
        EXPECT_EQ(bindings[i].event, expected[i].event);
        EXPECT_EQ(bindings[i].signature, expected[i].signature);
        EXPECT_TRUE(
            window->ControlAs<fw::Control>(expected[i].control).IsConnected(expected[i].event));
    }
    // These raise nothing that the program handles.
    for (const char* name :
         {"StandardToolbarItem1", "StandardToolbarItem2", "Rectangle1", "StatusBar"}) {
        SCOPED_TRACE(name);
        for (const auto& event : window->ControlAs<fw::Control>(name).Events()) {
            EXPECT_FALSE(window->ControlAs<fw::Control>(name).IsConnected(event.name))
                << event.name;
        }
    }
}

TEST_F(MainWindow, EventsReachTheirHandlers) {
    const auto file = MakeFile("dropped.mp3");
    struct Case {
        const char* event;
        std::function<void()> raise;
        std::function<void()> check;
    };
    const std::vector<Case> cases = {
        {"list Open", [&] { List().RaiseOpen(); }, [&] { EXPECT_EQ(Status(), "0 / 0 선택됨"); }},
        {"list Change", [&] { List().RaiseChange(); },
         [&] { EXPECT_EQ(Status(), "0 / 0 선택됨"); }},
        {"list DropObject",
         [&] {
             fw::DragItem items({file});
             List().RaiseDropObject(items, 1);
         },
         [&] {
             EXPECT_EQ(List().ListCount(), 1);
             EXPECT_EQ(Status(), "0 / 1 선택됨");
         }},
        {"TBFile Action", [&] { window->TBFile().Press(); },
         [&] {
             ASSERT_FALSE(ui->requests.empty());
             EXPECT_EQ(ui->requests.back().kind, "file");
         }},
        {"TBFolder Action", [&] { window->TBFolder().Press(); },
         [&] {
             ASSERT_FALSE(ui->requests.empty());
             EXPECT_EQ(ui->requests.back().kind, "folder");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event);
        window->StatusBar().SetText("stale");
        c.raise();
        c.check();
    }
}

TEST_F(MainWindow, WindowsOwnLayoutValues) {
    ExpectLayout(*window, {
                              {"Placement", I(0)},         {"Width", I(599)},
                              {"Height", I(219)},          {"MinWidth", I(500)},
                              {"MinHeight", I(200)},       {"MaxWidth", I(32000)},
                              {"MaxHeight", I(32000)},     {"Frame", I(0)},
                              {"Composite", B(true)},      {"HasBackColor", B(false)},
                              {"BackColor", C(0x404040)},  {"Title", S("Tunemill")},
                              {"Visible", B(true)},        {"FullScreen", B(false)},
                              {"MenuBarVisible", B(true)}, {"CloseButton", B(true)},
                              {"Resizeable", B(true)},     {"LiveResize", B(true)},
                              {"MaximizeButton", B(true)}, {"MinimizeButton", B(true)},
                              {"MacProcID", I(0)},
                          });
}

TEST_F(MainWindow, ListLayoutValues) {
    ExpectLayout(List(), {
                             {"Name", S("AlternatingList1")},
                             {"Index", I(kIndex)},
                             {"Left", I(20)},
                             {"Top", I(14)},
                             {"Width", I(559)},
                             {"Height", I(173)},
                             {"LockLeft", B(true)},
                             {"LockTop", B(true)},
                             {"LockRight", B(true)},
                             {"LockBottom", B(true)},
                             {"TabPanelIndex", I(0)},
                             {"TabIndex", I(0)},
                             {"TabStop", B(true)},
                             {"Visible", B(true)},
                             {"HelpTag", S("")},
                             {"AutoDeactivate", B(true)},
                             {"Enabled", B(true)},
                             {"Border", B(true)},
                             {"ColumnCount", I(8)},
                             {"ColumnWidths", S("27%,8%,15%,10%,20%,7%,0%,13%")},
                             {"HasHeading", B(true)},
                             {"UseFocusRing", B(true)},
                             {"InitialValue", S(kHeadings)},
                             {"HeadingIndex", I(-1)},
                             {"ScrollbarHorizontal", B(false)},
                             {"ScrollBarVertical", B(true)},
                             {"GridLinesHorizontal", I(0)},
                             {"GridLinesVertical", I(0)},
                             {"DefaultRowHeight", I(18)},
                             {"_ScrollWidth", I(-1)},
                             {"TextFont", S("System")},
                             {"TextSize", I(11)},
                             {"Bold", B(false)},
                             {"Italic", B(false)},
                             {"Underline", B(false)},
                             {"Hierarchical", B(false)},
                             {"EnableDrag", B(true)},
                             {"EnableDragReorder", B(true)},
                             {"RequiresSelection", B(false)},
                             {"SelectionType", I(1)},
                             {"ColumnsResizable", B(true)},
                             {"AutoHideScrollbars", B(true)},
                             {"DataSource", S("")},
                             {"DataField", S("")},
                             {"InitialParent", S("")},
                         });
    // The values that later behaviour depends on took effect, not only got recorded.
    EXPECT_EQ(List().Name(), "AlternatingList1");
    EXPECT_EQ(List().DesignGeometry(), (fw::Rect{20, 14, 559, 173}));
    EXPECT_TRUE(List().LockSides().left && List().LockSides().top && List().LockSides().right &&
                List().LockSides().bottom);
    EXPECT_EQ(List().DefaultRowHeight(), 18);
    EXPECT_EQ(List().TextFont(), "System");
    EXPECT_EQ(List().TextSize(), 11);
    EXPECT_FALSE(List().Bold());
    EXPECT_TRUE(List().EnableDragReorder());
    EXPECT_TRUE(List().ColumnsResizable());
    EXPECT_EQ(View().Header()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(View().verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(View().horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(MainWindow, ShellLayoutValues) {
    ExpectLayout(window->WinShell(), {{"TimeOut", I(2000)}, {"Mode", I(2)}});
    EXPECT_EQ(window->WinShell().TimeOut(), 2000);
    EXPECT_EQ(window->WinShell().Mode(), 2);
    // Its set carries no name; the window registers it under its own.
    EXPECT_EQ(window->WinShell().Name(), "WinShell");
    EXPECT_EQ(window->WinShell().OwnerWindow(), window.get());
}

TEST_F(MainWindow, ToolbarLayoutValues) {
    struct Case {
        const char* name;
        Values values;
    };
    const std::vector<Case> cases = {
        {"TBFile", ToolbarButtonValues("TBFile", "Add File")},
        {"TBFolder", ToolbarButtonValues("TBFolder", "Add Folder")},
        {"StandardToolbarItem1", StandardItemValues("StandardToolbarItem1", 3)},
        {"TBPlay", ToolbarButtonValues("TBPlay", "Play")},
        {"TBStop", ToolbarButtonValues("TBStop", "Stop")},
        {"StandardToolbarItem2", StandardItemValues("StandardToolbarItem2", 1)},
        {"TBConvert", ToolbarButtonValues("TBConvert", "Convert")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLayout(window->ControlAs<fw::Control>(c.name), c.values);
    }
}

TEST_F(MainWindow, PlayerLayoutValues) {
    ExpectLayout(window->Player(), {
                                       {"Name", S("Player")},    {"Index", I(kIndex)},
                                       {"Left", I(97)},          {"Top", I(239)},
                                       {"Width", I(21)},         {"Height", I(20)},
                                       {"LockLeft", B(false)},   {"LockTop", B(false)},
                                       {"LockRight", B(false)},  {"LockBottom", B(false)},
                                       {"TabPanelIndex", I(0)},  {"TabIndex", I(1)},
                                       {"TabStop", B(false)},    {"AutoResize", B(false)},
                                       {"Border", B(false)},     {"Speaker", B(true)},
                                       {"HasStep", B(false)},    {"Visible", B(false)},
                                       {"HelpTag", S("")},       {"AutoDeactivate", B(false)},
                                       {"PlayerType", I(0)},     {"Controller", I(0)},
                                       {"AutoPlay", B(false)},   {"Looping", B(false)},
                                       {"Palindrome", B(false)}, {"InitialParent", S("")},
                                   });
}

TEST_F(MainWindow, StatusStripLayoutValues) {
    ExpectLayout(window->Rectangle1(), {
                                           {"Name", S("Rectangle1")},
                                           {"Index", I(kIndex)},
                                           {"Left", I(-9)},
                                           {"Top", I(199)},
                                           {"Width", I(617)},
                                           {"Height", I(20)},
                                           {"LockLeft", B(true)},
                                           {"LockTop", B(false)},
                                           {"LockRight", B(true)},
                                           {"LockBottom", B(true)},
                                           {"TabPanelIndex", I(0)},
                                           {"Visible", B(true)},
                                           {"HelpTag", S("")},
                                           {"AutoDeactivate", B(true)},
                                           {"Enabled", B(true)},
                                           {"FillColor", C(0xAAAAAA)},
                                           {"BorderWidth", I(1)},
                                           {"TopLeftColor", C(0x7F7F7F)},
                                           {"BottomRightColor", C(0x999999)},
                                           {"InitialParent", S("")},
                                       });
    EXPECT_EQ(window->Rectangle1().FillColor(), fw::RGB(0xAAAAAA));

    ExpectLayout(
        window->StatusBar(),
        {
            {"Name", S("StatusBar")}, {"Index", I(kIndex)},        {"Left", I(7)},
            {"Top", I(200)},          {"Width", I(585)},           {"Height", I(20)},
            {"LockLeft", B(true)},    {"LockTop", B(false)},       {"LockRight", B(true)},
            {"LockBottom", B(true)},  {"TabPanelIndex", I(0)},     {"TabIndex", I(2)},
            {"Text", S("")},          {"TextAlign", I(1)},         {"TextColor", C(0x0F0F0F)},
            {"Multiline", B(false)},  {"Enabled", B(true)},        {"Visible", B(true)},
            {"HelpTag", S("")},       {"AutoDeactivate", B(true)}, {"TextFont", S("Arial")},
            {"TextSize", I(10)},      {"Bold", B(false)},          {"Italic", B(false)},
            {"Underline", B(false)},  {"DataSource", S("")},       {"DataField", S("")},
            {"InitialParent", S("")},
        });
}

TEST_F(MainWindow, StatusLineIsCentredDarkArialTenPixels) {
    auto* label = window->StatusBar().Widget();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->font().pixelSize(), 10);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0x0F, 0x0F, 0x0F));
    const auto align = label->property("alignment").value<Qt::Alignment>();
    EXPECT_TRUE(align & Qt::AlignHCenter);
    // Created after the strip, so it lies over it.
    const QObjectList& children = window->Content()->children();
    EXPECT_GT(children.indexOf(label), children.indexOf(window->Rectangle1().Widget()));
}

TEST_F(MainWindow, ControlsAreFoundByNameAndAMissingOneRaisesNilObject) {
    EXPECT_EQ(&window->ControlAs<fw::Control>("AlternatingList1"), &List());
    EXPECT_THROW(window->ControlAs<fw::Control>("Nope"), fw::NilObjectException);
    EXPECT_EQ(window->Lookup("Nope"), nullptr);
    // A control of another class than asked for is as good as missing.
    EXPECT_THROW(window->ControlAs<fw::Shell>("AlternatingList1"), fw::NilObjectException);
    // Twelve controls, in creation order.
    std::vector<std::string> names;
    for (const auto& c : window->Controls()) {
        names.push_back(c->Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"AlternatingList1", "WinShell", "TBFile", "TBFolder",
                                               "StandardToolbarItem1", "Player", "TBPlay", "TBStop",
                                               "StandardToolbarItem2", "TBConvert", "Rectangle1",
                                               "StatusBar"}));
}

TEST_F(MainWindow, AnExceptionInAHandlerIsReportedAndTheWindowGoesOn) {
    window->Bind("TBConvert", "Action", "(  )",
                 std::function<void(fw::ToolbarItem&)>(
                     [](fw::ToolbarItem&) { throw fw::NilObjectException("from a handler"); }));
    const int reports = fw::UnhandledExceptionCount();
    window->TBConvert().Action()->trigger();
    testutil::Settle();
    EXPECT_EQ(fw::UnhandledExceptionCount(), reports + 1);
    const auto messages = ui->Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("NilObjectException"), std::string::npos) << messages[0];

    // The window still answers.
    AddRows({"after.mp3"});
    window->PrintStatus();
    EXPECT_EQ(Status(), "0 / 1 선택됨");
}

}  // namespace

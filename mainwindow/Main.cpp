#include "mainwindow/Main.h"

#include "app/Pictures.h"
#include "framework/DragItem.h"
#include "framework/MoviePlayer.h"
#include "framework/Rectangle.h"
#include "framework/Shell.h"
#include "framework/StaticText.h"
#include "framework/ToolbarItem.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/MainLayout.h"

std::shared_ptr<Main> Main::Instance() {
    if (auto existing = fw::Window::FindOpen<Main>()) {
        return existing;
    }
    auto window = std::make_shared<Main>();
    window->Constructor();
    return window;
}

CustomCellListbox& Main::AlternatingList1() const {
    return ControlAs<CustomCellListbox>("AlternatingList1");
}
fw::Shell& Main::WinShell() const {
    return ControlAs<fw::Shell>("WinShell");
}
fw::ToolbarItem& Main::TBFile() const {
    return ControlAs<fw::ToolbarItem>("TBFile");
}
fw::ToolbarItem& Main::TBFolder() const {
    return ControlAs<fw::ToolbarItem>("TBFolder");
}
fw::StandardToolbarItem& Main::StandardToolbarItem1() const {
    return ControlAs<fw::StandardToolbarItem>("StandardToolbarItem1");
}
fw::MoviePlayer& Main::Player() const {
    return ControlAs<fw::MoviePlayer>("Player");
}
fw::ToolbarItem& Main::TBPlay() const {
    return ControlAs<fw::ToolbarItem>("TBPlay");
}
fw::ToolbarItem& Main::TBStop() const {
    return ControlAs<fw::ToolbarItem>("TBStop");
}
fw::StandardToolbarItem& Main::StandardToolbarItem2() const {
    return ControlAs<fw::StandardToolbarItem>("StandardToolbarItem2");
}
fw::ToolbarItem& Main::TBConvert() const {
    return ControlAs<fw::ToolbarItem>("TBConvert");
}
fw::Rectangle& Main::Rectangle1() const {
    return ControlAs<fw::Rectangle>("Rectangle1");
}
fw::StaticText& Main::StatusBar() const {
    return ControlAs<fw::StaticText>("StatusBar");
}

void Main::Layout() {
    ApplyPropertySet(MainLayout::Window());
}

void Main::CreateControls() {
    CreateControls0();
}

void Main::CreateControls0() {
    // Each control is made, registered, given its values and connected before the next.
    Register("AlternatingList1", std::make_shared<CustomCellListbox>());
    ControlAs<fw::Control>("AlternatingList1").ApplyPropertySet(MainLayout::AlternatingList1());
    Bind("AlternatingList1", "Open", "(  )", Handler(&Main::AlternatingList1_Open));
    Bind("AlternatingList1", "DropObject", "( DragItem, Int32 )",
         Handler(&Main::AlternatingList1_DropObject));
    Bind("AlternatingList1", "DoubleClick", "(  )", Handler(&Main::AlternatingList1_DoubleClick));
    Bind("AlternatingList1", "MouseDown", "( Int32, Int32 ) as Boolean",
         Handler(&Main::AlternatingList1_MouseDown));
    Bind("AlternatingList1", "KeyDown", "( String ) as Boolean",
         Handler(&Main::AlternatingList1_KeyDown));
    Bind("AlternatingList1", "Change", "(  )", Handler(&Main::AlternatingList1_Change));

    Register("WinShell", std::make_shared<fw::Shell>());
    ControlAs<fw::Control>("WinShell").ApplyPropertySet(MainLayout::WinShell());
    Bind("WinShell", "DataAvailable", "(  )", Handler(&Main::WinShell_DataAvailable));
    Bind("WinShell", "Completed", "(  )", Handler(&Main::WinShell_Completed));

    Register("TBFile", std::make_shared<fw::ToolbarItem>());
    ControlAs<fw::Control>("TBFile").ApplyPropertySet(
        MainLayout::ToolbarButton("TBFile", "Add File"));
    Bind("TBFile", "Open", "(  )", Handler(&Main::TBFile_Open));
    Bind("TBFile", "Action", "(  )", Handler(&Main::TBFile_Action));

    Register("TBFolder", std::make_shared<fw::ToolbarItem>());
    ControlAs<fw::Control>("TBFolder")
        .ApplyPropertySet(MainLayout::ToolbarButton("TBFolder", "Add Folder"));
    Bind("TBFolder", "Open", "(  )", Handler(&Main::TBFolder_Open));
    Bind("TBFolder", "Action", "(  )", Handler(&Main::TBFolder_Action));

    Register("StandardToolbarItem1", std::make_shared<fw::StandardToolbarItem>());
    ControlAs<fw::Control>("StandardToolbarItem1")
        .ApplyPropertySet(MainLayout::StandardItem("StandardToolbarItem1", 3));

    Register("Player", std::make_shared<fw::MoviePlayer>());
    ControlAs<fw::Control>("Player").ApplyPropertySet(MainLayout::Player());
    Bind("Player", "Stop", "(  )", Handler(&Main::Player_Stop));
    Bind("Player", "Play", "(  )", Handler(&Main::Player_Play));

    Register("TBPlay", std::make_shared<fw::ToolbarItem>());
    ControlAs<fw::ToolbarItem>("TBPlay").SetImage(play());
    ControlAs<fw::Control>("TBPlay").ApplyPropertySet(MainLayout::ToolbarButton("TBPlay", "Play"));
    Bind("TBPlay", "Open", "(  )", Handler(&Main::TBPlay_Open));
    Bind("TBPlay", "Action", "(  )", Handler(&Main::TBPlay_Action));

    Register("TBStop", std::make_shared<fw::ToolbarItem>());
    ControlAs<fw::ToolbarItem>("TBStop").SetImage(stop());
    ControlAs<fw::Control>("TBStop").ApplyPropertySet(MainLayout::ToolbarButton("TBStop", "Stop"));
    Bind("TBStop", "Open", "(  )", Handler(&Main::TBStop_Open));
    Bind("TBStop", "Action", "(  )", Handler(&Main::TBStop_Action));

    Register("StandardToolbarItem2", std::make_shared<fw::StandardToolbarItem>());
    ControlAs<fw::Control>("StandardToolbarItem2")
        .ApplyPropertySet(MainLayout::StandardItem("StandardToolbarItem2", 1));

    Register("TBConvert", std::make_shared<fw::ToolbarItem>());
    ControlAs<fw::Control>("TBConvert")
        .ApplyPropertySet(MainLayout::ToolbarButton("TBConvert", "Convert"));
    Bind("TBConvert", "Open", "(  )", Handler(&Main::TBConvert_Open));
    Bind("TBConvert", "Action", "(  )", Handler(&Main::TBConvert_Action));

    Register("Rectangle1", std::make_shared<fw::Rectangle>());
    ControlAs<fw::Control>("Rectangle1").ApplyPropertySet(MainLayout::Rectangle1());

    Register("StatusBar", std::make_shared<fw::StaticText>());
    ControlAs<fw::Control>("StatusBar").ApplyPropertySet(MainLayout::StatusBar());
}

void Main::Event_Open() {
    bitrate = {96, 128, 192};
}

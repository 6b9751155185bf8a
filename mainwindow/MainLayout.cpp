#include "mainwindow/MainLayout.h"

#include "framework/PropertySet.h"

namespace MainLayout {

namespace {

using fw::kLowestInt32;

struct Placement {
    const char* name;
    int left, top, width, height;
    bool lockLeft, lockTop, lockRight, lockBottom;
};

// The values every placed control's set begins with, in their order.
fw::PropertySetBuilder Placed(const Placement& p) {
    fw::PropertySetBuilder b;
    b.String("Name", p.name)
        .Int32("Index", kLowestInt32)
        .Int32("Left", p.left)
        .Int32("Top", p.top)
        .Int32("Width", p.width)
        .Int32("Height", p.height)
        .Boolean("LockLeft", p.lockLeft)
        .Boolean("LockTop", p.lockTop)
        .Boolean("LockRight", p.lockRight)
        .Boolean("LockBottom", p.lockBottom)
        .Int32("TabPanelIndex", 0);
    return b;
}

}  // namespace

std::string Window() {
    return fw::PropertySetBuilder()
        .Int32("Placement", 0)
        .Int32("Width", 599)
        .Int32("Height", 219)
        .Int32("MinWidth", 500)
        .Int32("MinHeight", 200)
        .Int32("MaxWidth", 32000)
        .Int32("MaxHeight", 32000)
        .Int32("Frame", 0)
        .Boolean("Composite", true)
        .Boolean("HasBackColor", false)
        .Color("BackColor", 0x404040)
        .String("Title", "Tunemill")
        .Boolean("Visible", true)
        .Boolean("FullScreen", false)
        .Boolean("MenuBarVisible", true)
        .Boolean("CloseButton", true)
        .Boolean("Resizeable", true)
        .Boolean("LiveResize", true)
        .Boolean("MaximizeButton", true)
        .Boolean("MinimizeButton", true)
        .Int32("MacProcID", 0)
        .Build();
}

std::string AlternatingList1() {
    return Placed({"AlternatingList1", 20, 14, 559, 173, true, true, true, true})
        .Int32("TabIndex", 0)
        .Boolean("TabStop", true)
        .Boolean("Visible", true)
        .String("HelpTag", "")
        .Boolean("AutoDeactivate", true)
        .Boolean("Enabled", true)
        .Boolean("Border", true)
        .Int32("ColumnCount", 8)
        .String("ColumnWidths", "27%,8%,15%,10%,20%,7%,0%,13%")
        .Boolean("HasHeading", true)
        .Boolean("UseFocusRing", true)
        .String("InitialValue", "파일 이름\t확장자\t위치\t변환 음질\t진행 상태\t삭제\tNo.\t완료")
        .Int32("HeadingIndex", -1)
        .Boolean("ScrollbarHorizontal", false)
        .Boolean("ScrollBarVertical", true)
        .Int32("GridLinesHorizontal", 0)
        .Int32("GridLinesVertical", 0)
        .Int32("DefaultRowHeight", 18)
        .Int32("_ScrollWidth", -1)
        .String("TextFont", "System")
        .Int32("TextSize", 11)
        .Boolean("Bold", false)
        .Boolean("Italic", false)
        .Boolean("Underline", false)
        .Boolean("Hierarchical", false)
        .Boolean("EnableDrag", true)
        .Boolean("EnableDragReorder", true)
        .Boolean("RequiresSelection", false)
        .Int32("SelectionType", 1)
        .Boolean("ColumnsResizable", true)
        .Boolean("AutoHideScrollbars", true)
        .String("DataSource", "")
        .String("DataField", "")
        .String("InitialParent", "")
        .Build();
}

std::string WinShell() {
    return fw::PropertySetBuilder().Int32("TimeOut", 2000).Int32("Mode", 2).Build();
}

std::string ToolbarButton(const std::string& name, const std::string& caption) {
    return fw::PropertySetBuilder()
        .String("Name", name)
        .Int32("Index", kLowestInt32)
        .Boolean("Enabled", true)
        .String("Caption", caption)
        .String("HelpTag", "")
        .String("HelpTagLong", "")
        .Int32("TabPanelIndex", 0)
        .Build();
}

std::string StandardItem(const std::string& name, int type) {
    return fw::PropertySetBuilder()
        .String("Name", name)
        .Int32("Index", kLowestInt32)
        .Boolean("Enabled", true)
        .Int32("Type", type)
        .String("IdentifierOther", "")
        .Int32("TabPanelIndex", 0)
        .Build();
}

std::string Player() {
    return Placed({"Player", 97, 239, 21, 20, false, false, false, false})
        .Int32("TabIndex", 1)
        .Boolean("TabStop", false)
        .Boolean("AutoResize", false)
        .Boolean("Border", false)
        .Boolean("Speaker", true)
        .Boolean("HasStep", false)
        .Boolean("Visible", false)
        .String("HelpTag", "")
        .Boolean("AutoDeactivate", false)
        .Int32("PlayerType", 0)
        .Int32("Controller", 0)
        .Boolean("AutoPlay", false)
        .Boolean("Looping", false)
        .Boolean("Palindrome", false)
        .String("InitialParent", "")
        .Build();
}

std::string Rectangle1() {
    return Placed({"Rectangle1", -9, 199, 617, 20, true, false, true, true})
        .Boolean("Visible", true)
        .String("HelpTag", "")
        .Boolean("AutoDeactivate", true)
        .Boolean("Enabled", true)
        .Color("FillColor", 0xAAAAAA)
        .Int32("BorderWidth", 1)
        .Color("TopLeftColor", 0x7F7F7F)
        .Color("BottomRightColor", 0x999999)
        .String("InitialParent", "")
        .Build();
}

std::string StatusBar() {
    return Placed({"StatusBar", 7, 200, 585, 20, true, false, true, true})
        .Int32("TabIndex", 2)
        .String("Text", "")
        .Int32("TextAlign", 1)
        .Color("TextColor", 0x0F0F0F)
        .Boolean("Multiline", false)
        .Boolean("Enabled", true)
        .Boolean("Visible", true)
        .String("HelpTag", "")
        .Boolean("AutoDeactivate", true)
        .String("TextFont", "Arial")
        .Int32("TextSize", 10)
        .Boolean("Bold", false)
        .Boolean("Italic", false)
        .Boolean("Underline", false)
        .String("DataSource", "")
        .String("DataField", "")
        .String("InitialParent", "")
        .Build();
}

}  // namespace MainLayout

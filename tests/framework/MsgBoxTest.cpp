#include <gtest/gtest.h>

#include <QCoreApplication>

#include <memory>
#include <stdexcept>
#include <string>

#include "framework/Application.h"
#include "framework/Dispatch.h"
#include "framework/ModalUI.h"
#include "framework/MsgBox.h"
#include "support/MessageBoxes.h"

// Real message boxes, as the toolkit shows them.
namespace {

class NamedApplication : public fw::Application {
public:
    std::string Name() const override { return "Named Program"; }
};

class MsgBoxTitle : public ::testing::Test {
protected:
    void SetUp() override {
        fw::SetModalUI(nullptr);
        fw::Runtime::SetApplication(std::make_shared<NamedApplication>());
    }
    void TearDown() override {
        fw::Runtime::SetApplication(nullptr);
        QCoreApplication::setApplicationName(savedName);
    }
    const QString savedName = QCoreApplication::applicationName();
};

TEST_F(MsgBoxTitle, EveryBoxIsTitledWithTheApplicationsName) {
    // The executable's own name is what the platform would title a box with.
    ASSERT_NE(savedName, "Named Program");
    struct Case {
        const char* what;
        std::function<void()> show;
        QString text;
    };
    const std::vector<Case> cases = {
        {"a message", [] { fw::MsgBox("파일을 찾을 수 없습니다."); }, "파일을 찾을 수 없습니다."},
        {"the report of an unhandled exception",
         [] { fw::Dispatch([] { throw std::runtime_error("broken"); }); },
         "An unhandled exception occurred: std::runtime_error: broken"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto boxes = testutil::BoxesShownBy(c.show);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title.toStdString(), "Named Program");
        EXPECT_EQ(boxes[0].text.toStdString(), c.text.toStdString());
    }
}

}  // namespace

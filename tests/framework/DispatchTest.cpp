#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Core.h"
#include "framework/Dispatch.h"
#include "framework/ModalUI.h"

namespace {

// Reports end in a message box once the event loop runs; these tests answer it with a script.
class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui = std::make_shared<fw::ScriptedModalUI>();
        fw::SetModalUI(ui);
    }
    void TearDown() override {
        Settle();
        fw::SetModalUI(nullptr);
    }
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }
    // Runs `body` as a handler called from a running event loop, as the toolkit calls ours.
    static void InEventLoop(const std::function<void()>& body) {
        QEventLoop loop;
        QTimer::singleShot(0, [&] {
            body();
            loop.quit();
        });
        loop.exec();
    }
    std::shared_ptr<fw::ScriptedModalUI> ui;
};

TEST_F(DispatchTest, ExceptionsDoNotEscapeAndAreCounted) {
    struct Case {
        const char* name;
        std::function<void()> fault;
    };
    const std::vector<Case> cases = {
        {"framework exception", [] { throw fw::NilObjectException("nil"); }},
        {"standard exception", [] { throw std::runtime_error("boom"); }},
        {"anything else", [] { throw 42; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = fw::UnhandledExceptionCount();
        EXPECT_NO_THROW(fw::Dispatch(c.fault));
        EXPECT_EQ(fw::UnhandledExceptionCount(), before + 1);
        Settle();
    }
}

TEST_F(DispatchTest, CallThatSucceedsIsNotReported) {
    const int before = fw::UnhandledExceptionCount();
    bool ran = false;
    fw::Dispatch([&] { ran = true; });
    Settle();
    EXPECT_TRUE(ran);
    EXPECT_EQ(fw::UnhandledExceptionCount(), before);
    EXPECT_TRUE(ui->Messages().empty());
}

TEST_F(DispatchTest, ReportShowsOneMessageBoxNamingTheClass) {
    InEventLoop([&] {
        fw::Dispatch([] { throw fw::OutOfBoundsException("row 3 of 2 rows"); });
        // The box waits for the event loop: never from inside the handler that failed.
        EXPECT_TRUE(ui->Messages().empty());
    });
    Settle();
    ASSERT_EQ(ui->Messages().size(), 1u);
    EXPECT_NE(ui->Messages()[0].find("OutOfBoundsException: row 3 of 2 rows"), std::string::npos)
        << ui->Messages()[0];
}

TEST_F(DispatchTest, ReportsWhileABoxIsPendingAddNoFurtherBox) {
    InEventLoop([] {
        for (int i = 0; i < 5; ++i) {
            fw::Dispatch([] { throw fw::NilObjectException("painting"); });
        }
    });
    Settle();
    EXPECT_EQ(ui->Messages().size(), 1u);
    // Once that box is gone, the next fault gets its own.
    InEventLoop([] { fw::Dispatch([] { throw fw::IllegalCastException("cell"); }); });
    Settle();
    ASSERT_EQ(ui->Messages().size(), 2u);
    EXPECT_NE(ui->Messages()[1].find("IllegalCastException"), std::string::npos);
}

// A fault raised on every paint comes back after its box is closed: it must not bring a new box
// each time, while every occurrence still reaches stderr.
TEST_F(DispatchTest, ARecurringFaultGetsOneBoxAndEveryOccurrenceALine) {
    const auto paint = [] { fw::Dispatch([] { throw fw::OutOfBoundsException("row 7"); }); };
    testing::internal::CaptureStderr();
    for (int round = 0; round < 3; ++round) {
        InEventLoop([&] {
            paint();
            paint();
        });
        Settle();  // the box, if any, is shown and closed here
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ui->Messages().size(), 1u);
    std::size_t lines = 0;
    for (auto at = err.find("OutOfBoundsException: row 7"); at != std::string::npos;
         at = err.find("OutOfBoundsException: row 7", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 6u) << err;
    EXPECT_NE(err.find("DispatchTest.cpp"), std::string::npos) << "the line names the place";
}

TEST_F(DispatchTest, AnotherClassOrAnotherPlaceIsANewFault) {
    const auto here = [](const std::function<void()>& fault) { fw::Dispatch(fault); };
    InEventLoop([&] { here([] { throw fw::NilObjectException("a"); }); });
    Settle();
    InEventLoop([&] { here([] { throw fw::NilObjectException("b"); }); });
    Settle();
    ASSERT_EQ(ui->Messages().size(), 1u) << "same class, same place, other message";
    InEventLoop([&] { here([] { throw std::runtime_error("c"); }); });
    Settle();
    ASSERT_EQ(ui->Messages().size(), 2u) << "another class from the same place";
    InEventLoop([] { fw::Dispatch([] { throw fw::NilObjectException("d"); }); });
    Settle();
    ASSERT_EQ(ui->Messages().size(), 3u) << "the same class from another place";
    EXPECT_NE(ui->Messages()[2].find("NilObjectException: d"), std::string::npos);
}

// At start-up no event loop runs yet, and a queued box would never show: it shows at once.
TEST_F(DispatchTest, WithoutAnEventLoopTheReportShowsAtOnce) {
    fw::Dispatch([] { throw fw::NilObjectException("no window"); });
    ASSERT_EQ(ui->Messages().size(), 1u);
    EXPECT_NE(ui->Messages()[0].find("NilObjectException: no window"), std::string::npos);
}

TEST(DescribeExceptionTest, NamesTheFrameworkClassAndItsMessage) {
    struct Case {
        std::exception_ptr error;
        std::string text;
    };
    const std::vector<Case> cases = {
        {std::make_exception_ptr(fw::NilObjectException("the value is nil")),
         "NilObjectException: the value is nil"},
        {std::make_exception_ptr(fw::OutOfBoundsException("row 5 of 2 rows")),
         "OutOfBoundsException: row 5 of 2 rows"},
        {std::make_exception_ptr(fw::IllegalCastException("not a cell")),
         "IllegalCastException: not a cell"},
        {std::make_exception_ptr(fw::PropertySetException("unknown property \"X\"")),
         "PropertySetException: unknown property \"X\""},
        {std::make_exception_ptr(fw::EventBindingException("no event Close")),
         "EventBindingException: no event Close"},
        {std::make_exception_ptr(fw::UnsupportedFormatException("tiff")),
         "UnsupportedFormatException: tiff"},
        {std::make_exception_ptr(fw::RuntimeException("plain")), "RuntimeException: plain"},
        // Without a message, the class name alone.
        {std::make_exception_ptr(fw::NilObjectException()), "NilObjectException"},
        {std::make_exception_ptr(fw::RuntimeException()), "RuntimeException"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fw::DescribeException(c.error), c.text);
    }
}

TEST(DescribeExceptionTest, GivesAReadableNameForOtherExceptions) {
    struct Case {
        std::exception_ptr error;
        std::string className;
        std::string message;
    };
    const std::vector<Case> cases = {
        {std::make_exception_ptr(std::runtime_error("boom")), "std::runtime_error", "boom"},
        {std::make_exception_ptr(std::out_of_range("vector index")), "std::out_of_range",
         "vector index"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.className);
        // The name as a reader writes it, not the compiler's mangled form.
        EXPECT_EQ(fw::DescribeException(c.error), c.className + ": " + c.message);
    }
    EXPECT_EQ(fw::DescribeException(std::make_exception_ptr(42)), "unknown exception");
}

}  // namespace

#include "framework/Dispatch.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <typeinfo>

#include "framework/Core.h"
#include "framework/ModalUI.h"

namespace fw {

namespace {

int g_reports = 0;
bool g_boxShown = false;

}  // namespace

std::string DescribeException(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeException& e) {
        std::string text = e.ClassName();
        if (!e.Message().empty()) {
            text += ": " + e.Message();
        }
        return text;
    } catch (const std::exception& e) {
        int status = 0;
        char* readable = abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status);
        std::string name = status == 0 && readable != nullptr ? readable : typeid(e).name();
        std::free(readable);
        return name + ": " + e.what();
    } catch (...) {
        return "unknown exception";
    }
}

void ReportUnhandledException(const std::exception_ptr& error) {
    ++g_reports;
    const std::string text = DescribeException(error);
    std::fprintf(stderr, "tunemill: unhandled exception: %s\n", text.c_str());
    std::fflush(stderr);
    if (g_boxShown || QCoreApplication::instance() == nullptr) {
        return;
    }
    g_boxShown = true;
    auto show = [text] {
        try {
            CurrentModalUI().ShowMessage("An unhandled exception occurred: " + text);
        } catch (...) {
        }
        g_boxShown = false;
    };
    // Without a running event loop (at start-up) nothing would ever show a queued box.
    if (QThread::currentThread()->loopLevel() == 0) {
        show();
    } else {
        QTimer::singleShot(0, show);
    }
}

void Dispatch(const std::function<void()>& call) {
    try {
        call();
    } catch (...) {
        ReportUnhandledException(std::current_exception());
    }
}

int UnhandledExceptionCount() {
    return g_reports;
}

}  // namespace fw

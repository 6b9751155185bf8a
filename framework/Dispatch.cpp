#include "framework/Dispatch.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <typeinfo>
#include <utility>

#include "framework/Core.h"
#include "framework/ModalUI.h"

namespace fw {

namespace {

int g_reports = 0;
bool g_boxShown = false;
// (class, place) of every fault that has had its box.
std::set<std::pair<std::string, std::string>> g_boxedFaults;

std::string Demangled(const char* name) {
    int status = 0;
    char* readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    std::string text = status == 0 && readable != nullptr ? readable : name;
    std::free(readable);
    return text;
}

std::string PlaceOf(const std::source_location& entry) {
    std::string file = entry.file_name();
    if (const auto slash = file.find_last_of('/'); slash != std::string::npos) {
        file.erase(0, slash + 1);
    }
    return file + ":" + std::to_string(entry.line());
}

}  // namespace

std::string ExceptionClassName(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeException& e) {
        return e.ClassName();
    } catch (const std::exception& e) {
        return Demangled(typeid(e).name());
    } catch (...) {
        return "unknown exception";
    }
}

std::string DescribeException(const std::exception_ptr& error) {
    std::string text = ExceptionClassName(error);
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeException& e) {
        if (!e.Message().empty()) {
            text += ": " + e.Message();
        }
    } catch (const std::exception& e) {
        text += std::string(": ") + e.what();
    } catch (...) {
    }
    return text;
}

void ReportUnhandledException(const std::exception_ptr& error, const std::string& place) {
    ++g_reports;
    const std::string text = DescribeException(error);
    if (place.empty()) {
        std::fprintf(stderr, "tunemill: unhandled exception: %s\n", text.c_str());
    } else {
        std::fprintf(stderr, "tunemill: unhandled exception: %s (in %s)\n", text.c_str(),
                     place.c_str());
    }
    std::fflush(stderr);
    if (g_boxShown || QCoreApplication::instance() == nullptr) {
        return;
    }
    if (!g_boxedFaults.emplace(ExceptionClassName(error), place).second) {
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

void Dispatch(const std::function<void()>& call, std::source_location entry) {
    try {
        call();
    } catch (...) {
        ReportUnhandledException(std::current_exception(), PlaceOf(entry));
    }
}

int UnhandledExceptionCount() {
    return g_reports;
}

}  // namespace fw

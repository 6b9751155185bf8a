#pragma once

#include <exception>
#include <functional>
#include <string>

namespace fw {

// Every call from the toolkit into program code goes through here, so that no exception unwinds
// through the toolkit's event loop: whatever escapes is handed to the unhandled-exception report.
void Dispatch(const std::function<void()>& call);

// The report: a line on stderr at once, and a message box naming the exception's class once the
// event loop is free (never from inside a paint), or at once when no event loop runs yet. Reports
// that arrive while one is shown only go to stderr, so a fault in painting cannot flood the screen
// with boxes.
void ReportUnhandledException(const std::exception_ptr& error);

// What the report says of an exception: its class name and its message.
std::string DescribeException(const std::exception_ptr& error);

// How many reports have been made in this process; tests use it to see that a fault was caught.
int UnhandledExceptionCount();

}  // namespace fw

#pragma once

#include <exception>
#include <functional>
#include <source_location>
#include <string>

namespace fw {

// Every call from the toolkit into program code goes through here, so that no exception unwinds
// through the toolkit's event loop: whatever escapes is handed to the unhandled-exception report.
// `entry` is where the toolkit entered program code (a paint, a click, an action); it is the place
// the report is known by.
void Dispatch(const std::function<void()>& call,
              std::source_location entry = std::source_location::current());

// The report: a line on stderr for every occurrence, and a message box naming the exception's
// class once the event loop is free (never from inside a paint), or at once when no event loop
// runs yet. A fault that recurs (the same class from the same place, as one raised on every paint
// does) gets its box once in the process, and no box opens while another is pending or shown, so
// a recurring fault cannot flood the screen with boxes.
void ReportUnhandledException(const std::exception_ptr& error, const std::string& place = {});

// The exception's class as a reader writes it: the framework's name, the demangled name of other
// standard exceptions, "unknown exception" for anything else.
std::string ExceptionClassName(const std::exception_ptr& error);

// What the report says of an exception: its class name and its message.
std::string DescribeException(const std::exception_ptr& error);

// How many reports have been made in this process; tests use it to see that a fault was caught.
int UnhandledExceptionCount();

}  // namespace fw

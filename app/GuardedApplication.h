/** @file The application object: a failure inside an event is reported, not fatal. */
#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace tw {

using FailureReport = std::function<void(const std::string& what)>;

/// Runs one event delivery. An exception that escapes it goes to `report`
/// and the event counts as handled, so the program goes on.
bool DeliverReportingFailures(const std::function<bool()>& deliver, const FailureReport& report);

/// Qt ends the program when an exception leaves an event handler. This
/// application shows the failure in the standard error box instead (and
/// writes it to standard error), and the program goes on.
class GuardedApplication : public QApplication {
  public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace tw

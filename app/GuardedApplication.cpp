#include "app/GuardedApplication.h"

#include <QMessageBox>
#include <cstdio>

namespace tw {

bool DeliverReportingFailures(const std::function<bool()>& deliver, const FailureReport& report) {
    try {
        return deliver();
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("unknown error");
    }
    return true;
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    return DeliverReportingFailures([&] { return QApplication::notify(receiver, event); },
                                    [](const std::string& what) {
                                        std::fprintf(stderr, "tarnwick-editor: %s\n", what.c_str());
                                        QMessageBox::critical(nullptr,
                                                              QStringLiteral("Tarnwick Editor"),
                                                              QString::fromStdString(what));
                                    });
}

}  // namespace tw

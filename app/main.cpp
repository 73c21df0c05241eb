// Program entry: hand the command line to a running instance, or become one.
#include <cstdio>
#include <string>
#include <vector>

#include "app/FrameWindow.h"
#include "app/GuardedApplication.h"
#include "app/HandOff.h"
#include "app/QtTranslations.h"
#include "platform/os/AbsolutePath.h"

int main(int argc, char** argv) {
    // A relative name means a file in this start's folder, which the running
    // instance that may receive it does not know.
    const std::vector<std::string> args =
        tw::AbsoluteFileNames(std::vector<std::string>(argv + 1, argv + argc));
    tw::InstancePaths paths;
    tw::InstanceMarker marker;
    tw::EntryResult entry;
    try {
        paths = tw::InstancePaths::FromEnvironment();
        entry = tw::RunProgramEntry(paths, args, marker);
    } catch (const std::exception& e) {
        // Without a usable instance folder this start cannot hand over or
        // receive files, but it can still edit them.
        std::fprintf(stderr, "tarnwick-editor: %s\n", e.what());
        entry = {false, args};
    }
    if (entry.handedOff) return 0;

    tw::GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick Editor"));
    tw::InstallQtTranslations(app);
    tw::TTarnwickEditor frame(paths, entry.filesToOpen);
    frame.show();
    return QApplication::exec();
}

// A stand-in for the editor at start-up, for tests with real processes: runs
// the program entry with the arguments after "--", then, as a full instance,
// publishes itself and logs each file it is handed until SIGTERM.
//
//   handoff_peer LOG [--flag 0|1] [--crash-on N] [--no-publish] -- ARGS...
//
// LOG gets one line per event: "error:MESSAGE", "handed-off", "full",
// "own:NAME" (a file this instance opens itself), "published",
// "publish-failed", "recv:NAME", "closed".
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/HandOff.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

struct Options {
    std::string log;
    bool singleInstance = true;
    bool publish = true;
    long crashOn = 0;  // die without replying when this name arrives
    std::vector<std::string> args;
};

Options Parse(int argc, char** argv) {
    Options options;
    options.log = argc > 1 ? argv[1] : "/dev/null";
    int i = 2;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        std::string option = argv[i];
        if (option == "--no-publish") {
            options.publish = false;
        } else if (i + 1 < argc) {
            std::string value = argv[++i];
            if (option == "--flag") options.singleInstance = value == "1";
            if (option == "--crash-on") options.crashOn = std::atol(value.c_str());
        }
    }
    for (++i; i < argc; ++i)
        options.args.emplace_back(argv[i]);
    return options;
}

class Log {
  public:
    explicit Log(const std::string& path) : out_(path, std::ios::app | std::ios::binary) {}
    void Line(const std::string& text) { out_ << text << '\n' << std::flush; }

  private:
    std::ofstream out_;
};

// SIGTERM stays blocked except inside ppoll, so it cannot slip in between
// checking the flag and going to sleep.
sigset_t BlockTerm() {
    struct sigaction action {};
    action.sa_handler = [](int) { stopRequested = 1; };
    sigaction(SIGTERM, &action, nullptr);
    sigset_t term, previous;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    sigprocmask(SIG_BLOCK, &term, &previous);
    return previous;
}

void Serve(tw::HandOffHost& host, const Options& options, Log& log, const sigset_t& waitMask) {
    long received = 0;
    while (!stopRequested) {
        pollfd entry{host.WatchFd(), POLLIN, 0};
        timespec wait{};
        const auto deadline = host.TimeToNextDeadline();
        if (deadline) wait.tv_nsec = std::min<long>(deadline->count(), 999) * 1000000L;
        if (ppoll(&entry, entry.fd >= 0 ? 1 : 0, deadline ? &wait : nullptr, &waitMask) < 0)
            continue;
        host.HandleReady([&](const std::string& name) {
            log.Line("recv:" + name);
            if (++received == options.crashOn) _exit(9);
        });
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options = Parse(argc, argv);
    Log log(options.log);
    sigset_t waitMask = BlockTerm();
    try {
        tw::InstancePaths paths = tw::InstancePaths::FromEnvironment();
        tw::InstanceMarker marker;
        tw::EntryResult entry = tw::RunProgramEntry(paths, options.args, marker);
        if (entry.handedOff) {
            log.Line("handed-off");
            return 0;
        }
        log.Line("full");
        for (const std::string& file : entry.filesToOpen)
            log.Line("own:" + file);
        tw::HandOffHost host(paths);
        if (!options.publish) {
            while (!stopRequested)
                ppoll(nullptr, 0, nullptr, &waitMask);
        } else if (host.Publish(options.singleInstance)) {
            log.Line("published");
            Serve(host, options, log, waitMask);
        } else {
            log.Line("publish-failed");
            return 3;
        }
        host.Close();
        log.Line("closed");
        return 0;
    } catch (const std::exception& error) {
        log.Line(std::string("error:") + error.what());
        return 2;
    }
}

#include "instance/Launch.h"

#include "instance/CommandLine.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tovrin::instance {

namespace {

constexpr int kAnswerMs = 1000;
constexpr int kOwnerStartingMs = 30000;

// What the desktop gave the launch to bring a window forward with.
Request WithLaunchTokens(Request request)
{
    request.startupId = qEnvironmentVariable("DESKTOP_STARTUP_ID").toStdString();
    request.activationToken = qEnvironmentVariable("XDG_ACTIVATION_TOKEN").toStdString();
    return request;
}

} // namespace

std::variant<FirstLaunch, int> ClaimOrHandOver(int argc, char* argv[], const char* version)
{
    const CommandLine commandLine = ParseCommandLine(argc, argv, version);
    if (!commandLine.request) {
        std::fputs(commandLine.message.c_str(), commandLine.exitStatus == 0 ? stdout : stderr);
        return commandLine.exitStatus;
    }
    const Request request = WithLaunchTokens(*commandLine.request);
#ifdef Q_OS_WIN
    // Windows lets the running program take the foreground only if this launch, which the
    // user just started, allows it.
    AllowSetForegroundWindow(ASFW_ANY);
#endif
    const auto endpoint = SessionEndpoint::ForThisSession();
    const QDeadlineTimer starting(kOwnerStartingMs);
    while (true) {
        if (auto owned = SingleInstance::Claim(endpoint))
            return FirstLaunch{request, std::move(owned)};
        switch (HandOver(endpoint, request, kAnswerMs)) {
        case HandOverResult::Taken:
            return 0;
        case HandOverResult::NoAnswer:
            std::fputs("tovrin: the Tovrin running in this session did not answer within a "
                       "second; nothing was handed to it.\n",
                       stderr);
            return 1;
        case HandOverResult::NotListening: // starting, or just gone
            if (starting.hasExpired()) {
                std::fprintf(stderr,
                             "tovrin: the Tovrin starting in this session has not come "
                             "up in %d seconds.\n",
                             kOwnerStartingMs / 1000);
                return 1;
            }
            QThread::msleep(20);
        }
    }
}

} // namespace tovrin::instance

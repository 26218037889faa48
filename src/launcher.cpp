// The command a user runs. It hands its request to the session's running Tovrin; only where
// none runs does it become the window program (the same process, started anew), which
// loads the browser engine. A later launch so ends without loading any of it: the engine's
// libraries alone take some 70 ms to load.

#include "BuildConfig.h"
#include "instance/Launch.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// NAME-window beside this program (the build tree), or in ../libexec/tovrin (installed).
std::string WindowProgram()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return {};
    const std::string path(self, static_cast<std::size_t>(length));
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string window = path.substr(path.rfind('/') + 1) + "-window";
    for (const std::string& candidate :
         {folder + "/" + window, folder + "/../libexec/tovrin/" + window})
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    return folder + "/" + window;
}

} // namespace

int main(int argc, char* argv[])
{
    auto launch = tovrin::instance::ClaimOrHandOver(argc, argv, TOVRIN_VERSION);
    if (const int* status = std::get_if<int>(&launch))
        return *status;
    // The first launch: the window program claims the session's endpoint for itself (and
    // hands over after all if another launch took it meanwhile).
    std::get<tovrin::instance::FirstLaunch>(launch).instance.reset();
    std::string window = WindowProgram();
    argv[0] = window.data();
    execv(window.c_str(), argv);
    std::fprintf(stderr, "tovrin: cannot start %s: %s\n", window.c_str(), std::strerror(errno));
    return 1;
}

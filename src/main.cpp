// The command a user runs. It hands its request to the session's running Tovrin; only where
// none runs does it load the window program (the browser engine among it, whose libraries
// alone take some 70 ms to load) and run it in the same process. A later launch so ends
// having loaded nothing of a window.

#include "BuildConfig.h"
#include "instance/Launch.h"
#include "startup/Startup.h"

#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {

// The window program: beside this command (a copy of both), in the build tree, or where
// the package installs it.
std::string WindowLibrary()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string path = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : "";
    const std::string folder = path.substr(0, path.rfind('/'));
    for (const std::string& candidate :
         {folder + "/" TOVRIN_WINDOW_LIBRARY_NAME, std::string(TOVRIN_WINDOW_LIBRARY_BUILT),
          folder + "/../" TOVRIN_WINDOW_LIBRARY_INSTALLED})
        if (access(candidate.c_str(), R_OK) == 0)
            return candidate;
    return folder + "/../" TOVRIN_WINDOW_LIBRARY_INSTALLED;
}

} // namespace

int main(int argc, char* argv[])
{
    tovrin::startup::BuildSettings settings;
    settings.version = TOVRIN_VERSION;
    settings.makerHost = TOVRIN_MAKER_HOST;
    settings.makerNumber = TOVRIN_MAKER_NUMBER;
    settings.hostOverrides = TOVRIN_HOST_OVERRIDES;
    settings.contactScheme = TOVRIN_CONTACT_SCHEME;

    auto launch = tovrin::instance::ClaimOrHandOver(argc, argv, settings.version);
    if (const int* status = std::get_if<int>(&launch))
        return *status;
    // The first launch: the window program claims the session's endpoint for itself (and
    // hands over after all if another launch took it meanwhile).
    std::get<tovrin::instance::FirstLaunch>(launch).instance.reset();
    const std::string library = WindowLibrary();
    void* window = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    const auto run = window ? reinterpret_cast<tovrin::startup::RunWindow>(
                                  dlsym(window, tovrin::startup::kRunWindowSymbol))
                            : nullptr;
    if (!run) {
        std::fprintf(stderr, "tovrin: cannot load the window program %s: %s\n", library.c_str(),
                     dlerror());
        return 1;
    }
    return run(argc, argv, &settings);
}

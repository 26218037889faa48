// The window program as the command loads it.

#include "startup/Startup.h"

extern "C" __attribute__((visibility("default"))) int
tovrin_run_window(int argc, char* argv[], const tovrin::startup::BuildSettings* settings)
{
    return tovrin::startup::RunApplication(argc, argv, *settings);
}

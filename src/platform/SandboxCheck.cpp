#include "platform/SandboxCheck.h"

#include <cstdlib>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tovrin::platform {

bool SandboxTurnedOff(const char* disableVariable, std::string_view chromiumFlags)
{
    if (disableVariable) // the engine asks only whether it is set
        return true;
    return chromiumFlags.find("--no-sandbox") != std::string_view::npos;
}

SandboxProblem ProbeSandbox()
{
    if (geteuid() == 0)
        return SandboxProblem::RunningAsRoot;
    // Tried in a child, so that this process stays in its own namespace.
    const pid_t child = fork();
    if (child < 0)
        return SandboxProblem::None; // cannot tell; let the engine try
    if (child == 0)
        _exit(unshare(CLONE_NEWUSER) == 0 ? 0 : 1);
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return SandboxProblem::None;
    return WIFEXITED(status) && WEXITSTATUS(status) == 1 ? SandboxProblem::NoUserNamespaces
                                                         : SandboxProblem::None;
}

void TurnOffDriverDiskCaches()
{
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1); // Mesa (Intel, AMD, software)
    setenv("MESA_GLSL_CACHE_DISABLE", "true", 1);   // Mesa before 22
    setenv("__GL_SHADER_DISK_CACHE", "0", 1);       // NVIDIA's own driver
}

} // namespace tovrin::platform

#include "startup/SandboxCheck.h"

#include <cstdlib>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace tovrin::startup {

SandboxProblem CheckSandbox(int argc, char* argv[])
{
    const char* flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
    std::string given = flags ? flags : "";
    for (int i = 1; i < argc; ++i)
        given.append(" ").append(argv[i]);
    if (SandboxTurnedOff(std::getenv("QTWEBENGINE_DISABLE_SANDBOX"), given))
        return SandboxProblem::None;
    return ProbeSandbox();
}

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

} // namespace tovrin::startup

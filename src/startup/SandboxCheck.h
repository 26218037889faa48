#pragma once

#include <string_view>

namespace tovrin::startup {

// Why the browser engine's renderer sandbox cannot start here. The engine itself would
// end the program with a message of its own; Tovrin says so and shows no pages instead.
enum class SandboxProblem {
    None,
    RunningAsRoot,    // the engine refuses root with its sandbox on
    NoUserNamespaces, // the sandbox is built on unprivileged user namespaces
};

// Whether the sandbox can start for this process, given its arguments and environment.
// Asked before any thread is started, as it forks.
SandboxProblem CheckSandbox(int argc, char* argv[]);

// Whether the person starting Tovrin turned the sandbox off for the engine, through its
// own environment variable or flags (Tovrin never does).
bool SandboxTurnedOff(const char* disableVariable, std::string_view chromiumFlags);

// Looks at the machine: the account, and whether a process may make a user namespace.
SandboxProblem ProbeSandbox();

} // namespace tovrin::startup

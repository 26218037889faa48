#pragma once

#include "instance/HandOver.h"

#include <optional>
#include <string>

namespace tovrin::instance {

// What the command line asks for: a request to carry out (here, or in the program that
// runs already), or a message to print and the status to end with.
struct CommandLine
{
    std::optional<Request> request;
    std::string message; // help and version go to standard output, errors to standard error
    int exitStatus = 0;
};

//   tovrin                      shows the running window, or starts
//   tovrin WORD...              looks the words up as Enter would
//   tovrin --category N WORD... in category N (1 to 5) first
//   tovrin --selection          looks up the text selected anywhere on the desktop
CommandLine ParseCommandLine(int argc, char* argv[], const char* version);

} // namespace tovrin::instance

#pragma once

namespace tovrin::startup {

// What main() hands over from the build configuration.
struct BuildSettings
{
    const char* version = "";
    const char* makerHost = "";
    const char* makerNumber = "";
    const char* hostOverrides = "";
    const char* contactScheme = "";
};

// Comes up in the order of StartupSequence.h and runs until the window is unloaded.
int RunApplication(int argc, char* argv[], const BuildSettings& settings);

// RunApplication as the window library gives it to the command that loads it.
using RunWindow = int (*)(int argc, char* argv[], const BuildSettings* settings);
inline constexpr const char* kRunWindowSymbol = "tovrin_run_window";

// Maps the window's design fonts to CJK fonts that are installed here.
void InstallFontSubstitutions();

} // namespace tovrin::startup

#pragma once

namespace tovrin::app {

// What main() hands over from the build configuration.
struct BuildSettings
{
    const char* version = "";
    const char* makerHost = "";
    const char* makerNumber = "";
    const char* hostOverrides = "";
    const char* contactScheme = "";
};

// Sets the application up, shows the window and runs until it is closed.
int RunApplication(int argc, char* argv[], const BuildSettings& settings);

// Maps the window's design fonts to CJK fonts that are installed here.
void InstallFontSubstitutions();

} // namespace tovrin::app

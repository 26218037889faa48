#include "BuildConfig.h"
#include "startup/Startup.h"

int main(int argc, char* argv[])
{
    tovrin::startup::BuildSettings settings;
    settings.version = TOVRIN_VERSION;
    settings.makerHost = TOVRIN_MAKER_HOST;
    settings.makerNumber = TOVRIN_MAKER_NUMBER;
    settings.hostOverrides = TOVRIN_HOST_OVERRIDES;
    settings.contactScheme = TOVRIN_CONTACT_SCHEME;
    return tovrin::startup::RunApplication(argc, argv, settings);
}

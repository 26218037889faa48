#include "startup/DriverCaches.h"

#include <cstdlib>

namespace tovrin::startup {

void TurnOffDriverDiskCaches()
{
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1); // Mesa (Intel, AMD, software)
    setenv("MESA_GLSL_CACHE_DISABLE", "true", 1);   // Mesa before 22
    setenv("__GL_SHADER_DISK_CACHE", "0", 1);       // NVIDIA's own driver
}

} // namespace tovrin::startup

# Warnings for the project's own targets; link against tovrin_warnings.
add_library(tovrin_warnings INTERFACE)
target_compile_options(tovrin_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Wcast-align
  -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)

# CI builds with warnings as errors (.ci/run turns it on); a local build only warns.
option(TOVRIN_WERROR "Treat warnings in the project's own code as errors" OFF)
if(TOVRIN_WERROR)
  target_compile_options(tovrin_warnings INTERFACE -Werror)
endif()

# Sanitizer builds: -DTOVRIN_SANITIZE=ON (the asan-ubsan preset sets it).
option(TOVRIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TOVRIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Warnings apply to our own targets only (not to third-party headers).
add_library(ballotine_warnings INTERFACE)
target_compile_options(ballotine_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wconversion -Wnull-dereference -Wformat=2
    -Wimplicit-fallthrough)
if(BALLOTINE_WERROR)
    target_compile_options(ballotine_warnings INTERFACE -Werror)
endif()
# GCC 12 reports std::string concatenation at -O2/-O3 as overlapping memcpy (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(ballotine_warnings INTERFACE -Wno-restrict)
endif()

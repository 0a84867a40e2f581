# Warnings apply to our own targets only (not to third-party headers).
add_library(ballotine_warnings INTERFACE)
target_compile_options(ballotine_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wconversion -Wnull-dereference -Wformat=2
    -Wimplicit-fallthrough)
if(BALLOTINE_WERROR)
    target_compile_options(ballotine_warnings INTERFACE -Werror)
endif()

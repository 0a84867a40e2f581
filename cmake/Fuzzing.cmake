# The libFuzzer build (-DBALLOTINE_BUILD_FUZZ=ON, clang only): all code is instrumented for
# coverage and runs under AddressSanitizer and UndefinedBehaviorSanitizer; only the fuzz
# targets link libFuzzer's own main.
if(BALLOTINE_BUILD_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "The fuzz targets need clang: configure with CC=clang CXX=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

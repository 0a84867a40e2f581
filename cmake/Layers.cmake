# Each folder of src/ is a layer: a library that may use only the layers it names, all of
# them added before it (so the order of add_subdirectory is the order of the floors).
#
# ballotine_layer(<folder> SOURCES <files...>
#                 [TARGET <name>]        library name; default ballotine_<folder>
#                 [EXPOSES <layers...>]  layers its own headers include (PUBLIC)
#                 [USES <layers...>]     layers only its sources include (PRIVATE)
#                 [LINKS <targets...>]   other libraries, linked PRIVATE
#                 [LINKS_PUBLIC <targets...>])
#
# A layer's headers are reached as "<folder>/X.h" through an include root of its own, a folder
# of the build tree that holds nothing but a link named <folder> to the source folder. A target
# sees only the roots of itself and of the layers it links, so an include of any other layer
# (one above it, or beside it and not named) fails to compile: "no such file or directory".

set(BALLOTINE_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)
set_property(GLOBAL PROPERTY BALLOTINE_LAYERS "")

function(ballotine_layer folder)
    cmake_parse_arguments(ARG "" "TARGET" "SOURCES;EXPOSES;USES;LINKS;LINKS_PUBLIC" ${ARGN})
    set(target ballotine_${folder})
    if(ARG_TARGET)
        set(target ${ARG_TARGET})
    endif()

    get_property(known GLOBAL PROPERTY BALLOTINE_LAYERS)
    foreach(used IN LISTS ARG_EXPOSES ARG_USES)
        if(NOT used IN_LIST known)
            message(FATAL_ERROR "layer ${folder} uses '${used}', which is no layer below it")
        endif()
    endforeach()
    ballotine_refuse_relative_includes(${folder})

    set(root ${BALLOTINE_LAYER_ROOTS}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)

    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${root})
    foreach(used IN LISTS ARG_EXPOSES)
        get_property(usedTarget GLOBAL PROPERTY BALLOTINE_LAYER_TARGET_${used})
        target_link_libraries(${target} PUBLIC ${usedTarget})
    endforeach()
    foreach(used IN LISTS ARG_USES)
        get_property(usedTarget GLOBAL PROPERTY BALLOTINE_LAYER_TARGET_${used})
        target_link_libraries(${target} PRIVATE ${usedTarget})
    endforeach()
    target_link_libraries(${target} PRIVATE ballotine_warnings ${ARG_LINKS}
                          PUBLIC ${ARG_LINKS_PUBLIC})

    set_property(GLOBAL APPEND PROPERTY BALLOTINE_LAYERS ${folder})
    set_property(GLOBAL PROPERTY BALLOTINE_LAYER_TARGET_${folder} ${target})
endfunction()

# "../x/y.h" would reach any folder past the include roots; only "<folder>/X.h" is written.
function(ballotine_refuse_relative_includes folder)
    file(GLOB files ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${file} relative REGEX "^[ \t]*#[ \t]*include[ \t]*\"\\.\\./")
        if(relative)
            message(FATAL_ERROR "${file}: ${relative}: include headers as \"folder/X.h\"")
        endif()
    endforeach()
endfunction()

# The facts every program is built with: the version of project(VERSION) and where the
# installed layout puts the helper tools and the data, relative to the programs' folder, so
# an installation can be moved as a whole (another prefix, a DESTDIR).
include(GNUInstallDirs)

# The helper tools (ripent, pkzip25) are private to Ballotine: not on everyone's PATH, where
# a pkzip25 of another maker could stand.
set(BALLOTINE_INSTALL_HELPERDIR "${CMAKE_INSTALL_LIBEXECDIR}/ballotine")
set(BALLOTINE_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/ballotine")

function(ballotine_path_from_programs result folder)
    get_filename_component(absolute "${folder}" ABSOLUTE BASE_DIR "${CMAKE_INSTALL_PREFIX}")
    file(RELATIVE_PATH relative "${CMAKE_INSTALL_FULL_BINDIR}" "${absolute}")
    set(${result} "${relative}" PARENT_SCOPE)
endfunction()
ballotine_path_from_programs(BALLOTINE_HELPERDIR_FROM_PROGRAMS "${BALLOTINE_INSTALL_HELPERDIR}")
ballotine_path_from_programs(BALLOTINE_DATADIR_FROM_PROGRAMS "${BALLOTINE_INSTALL_DATADIR}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildInfo.h.in
               ${CMAKE_BINARY_DIR}/generated/BuildInfo.h @ONLY)
add_library(ballotine_build_info INTERFACE)
target_include_directories(ballotine_build_info INTERFACE ${CMAKE_BINARY_DIR}/generated)

# The vote map kit: vote.bsp, vote.ref, vote.spr and blank.spr, the files a game needs to
# compile vote maps. The build step that makes them writes them into this folder; `cmake
# --install` puts those that are there into share/ballotine/kit (cmake/Install.cmake).
set(BALLOTINE_VOTE_KIT_DIR ${CMAKE_BINARY_DIR}/kit CACHE PATH
    "Folder the vote map kit (vote.bsp, vote.ref, vote.spr, blank.spr) is built into")
set(BALLOTINE_VOTE_KIT_FILES vote.bsp vote.ref vote.spr blank.spr)

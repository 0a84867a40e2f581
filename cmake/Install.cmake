# What `cmake --install` puts where, and the files made for it from the programs' own texts:
# manual pages, the bash completion, the icon sizes. Two components: `cli` (the command line
# and the helper tools, no Qt) and `gui` (the window and its desktop integration).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(GZIP_PROGRAM gzip REQUIRED)

set(BALLOTINE_DESKTOP_ID io.github.ballotine.Ballotine)
set(BALLOTINE_INSTALL_FILES_DIR ${CMAKE_BINARY_DIR}/install-files)
set(dist ${PROJECT_SOURCE_DIR}/dist)

# Every target whose output `cmake --install` takes is listed in the global property
# BALLOTINE_INSTALL_INPUTS (the install-tree test builds them first).

# Writes what `program argument` prints into `output` (a file below the build folder).
function(ballotine_capture target program argument output)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DARGUMENT=${argument}
                -DOUTPUT=${output} -P ${PROJECT_SOURCE_DIR}/cmake/Capture.cmake
        DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/Capture.cmake VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${output})
    set_property(GLOBAL APPEND PROPERTY BALLOTINE_INSTALL_INPUTS ${target})
endfunction()

# ballotine_man_page(<program> <component> OWN | SUMMARY <text> [NOTES <text>])
# <program>.1.gz, made from the built program's own texts: its --man page (OWN) or its --help.
function(ballotine_man_page program component)
    cmake_parse_arguments(ARG "OWN" "SUMMARY;NOTES" "" ${ARGN})
    set(page ${BALLOTINE_INSTALL_FILES_DIR}/man/${program}.1)
    if(ARG_OWN)
        set(make_page ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DARGUMENT=--man
            -DOUTPUT=${page} -P ${PROJECT_SOURCE_DIR}/cmake/Capture.cmake)
    else()
        set(make_page ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/help_to_man.py
            --program $<TARGET_FILE:${program}> --name ${program} --summary ${ARG_SUMMARY}
            --version ${PROJECT_VERSION} --see-also ballotine-cli\(1\) "--notes=${ARG_NOTES}"
            --output ${page})
    endif()
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${BALLOTINE_INSTALL_FILES_DIR}/man
        COMMAND ${make_page}
        COMMAND ${GZIP_PROGRAM} -9nkf ${page}
        DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/help_to_man.py
                ${PROJECT_SOURCE_DIR}/cmake/Capture.cmake
        VERBATIM)
    add_custom_target(ballotine_man_${program} ALL DEPENDS ${page}.gz)
    set_property(GLOBAL APPEND PROPERTY BALLOTINE_INSTALL_INPUTS ballotine_man_${program})
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endfunction()

# copyright and changelog.gz in share/doc/<package>, where Debian wants them.
function(ballotine_package_docs package component)
    set(folder ${BALLOTINE_INSTALL_FILES_DIR}/doc/${package})
    add_custom_command(OUTPUT ${folder}/changelog.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${dist}/changelog ${folder}/changelog
        COMMAND ${GZIP_PROGRAM} -9nf ${folder}/changelog
        DEPENDS ${dist}/changelog VERBATIM)
    add_custom_target(ballotine_docs_${package} ALL DEPENDS ${folder}/changelog.gz)
    set_property(GLOBAL APPEND PROPERTY BALLOTINE_INSTALL_INPUTS ballotine_docs_${package})
    install(FILES ${dist}/copyright ${folder}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endfunction()

set(helpers "${CMAKE_INSTALL_FULL_LIBEXECDIR}/ballotine")

# The command line, its helper tools and the vote map kit.
set_property(GLOBAL APPEND PROPERTY BALLOTINE_INSTALL_INPUTS ballotine-cli ripent pkzip25)
install(TARGETS ballotine-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(TARGETS ripent pkzip25 RUNTIME DESTINATION ${BALLOTINE_INSTALL_HELPERDIR} COMPONENT cli)
ballotine_man_page(ballotine-cli cli OWN)
ballotine_man_page(ripent cli
    SUMMARY "import and export the entities of a Half-Life map (BSP version 30)"
    NOTES "Ballotine keeps ripent in ${helpers}. ballotine-cli init, and every start of ballotine \
and ballotine-cli when the copy there is missing or older, put it into the game's Ballotine \
folder, where the vote map compile and the entity update run it.")
ballotine_man_page(pkzip25 cli
    SUMMARY "unpack a zip archive for the Ballotine updater"
    NOTES "Ballotine keeps pkzip25 in ${helpers}, where ballotine and ballotine-cli find it, \
and not on the PATH, so that no other program of that name is taken for it.")
ballotine_capture(ballotine_bash_completion ballotine-cli --bash-completion
    ${BALLOTINE_INSTALL_FILES_DIR}/completions/ballotine-cli)
install(FILES ${BALLOTINE_INSTALL_FILES_DIR}/completions/ballotine-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT cli)
# The kit's files that its build step (tools/kit) has made; no empty kit folder without them.
if(TARGET vote_kit)
    set_property(GLOBAL APPEND PROPERTY BALLOTINE_INSTALL_INPUTS vote_kit)
endif()
install(CODE "
    set(kit \"\")
    foreach(file ${BALLOTINE_VOTE_KIT_FILES})
        if(EXISTS \"${BALLOTINE_VOTE_KIT_DIR}/\${file}\")
            list(APPEND kit \"${BALLOTINE_VOTE_KIT_DIR}/\${file}\")
        endif()
    endforeach()
    if(kit)
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${BALLOTINE_INSTALL_DATADIR}/kit\"
             TYPE FILE FILES \${kit})
    endif()" COMPONENT cli)
ballotine_package_docs(ballotine-cli cli)

# The window and its desktop entry, icon and AppStream data, all under one id.
if(BALLOTINE_BUILD_GUI)
    find_program(RSVG_CONVERT rsvg-convert)
    if(NOT RSVG_CONVERT)
        message(FATAL_ERROR "rsvg-convert draws the icon sizes: install librsvg2-bin "
                            "(scripts/setup does), or build with -DBALLOTINE_BUILD_GUI=OFF")
    endif()
    install(TARGETS ballotine RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
    ballotine_man_page(ballotine gui SUMMARY "vote maps for Half-Life TFC servers")
    install(FILES ${dist}/${BALLOTINE_DESKTOP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT gui)
    install(FILES ${dist}/${BALLOTINE_DESKTOP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT gui)
    set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    set(svg ${dist}/${BALLOTINE_DESKTOP_ID}.svg)
    install(FILES ${svg} DESTINATION ${icons}/scalable/apps COMPONENT gui)
    set(pngs "")
    foreach(size 16 32 48 64 128 256)
        set(png ${BALLOTINE_INSTALL_FILES_DIR}/icons/${size}x${size}/${BALLOTINE_DESKTOP_ID}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${BALLOTINE_INSTALL_FILES_DIR}/icons/${size}x${size}
            COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg}
            DEPENDS ${svg} VERBATIM)
        list(APPEND pngs ${png})
        install(FILES ${png} DESTINATION ${icons}/${size}x${size}/apps COMPONENT gui)
    endforeach()
    add_custom_target(ballotine_icons ALL DEPENDS ${pngs})
    set_property(GLOBAL APPEND PROPERTY BALLOTINE_INSTALL_INPUTS ballotine ballotine_icons)
    ballotine_package_docs(ballotine gui)
endif()

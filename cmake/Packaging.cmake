# Debian packages with CPack (scripts/package makes them): `ballotine-cli` (the command line and
# its helper tools, no Qt) and `ballotine` (the window, which needs ballotine-cli). Their
# library dependencies are computed from the binaries by dpkg-shlibdeps.
set(BALLOTINE_PACKAGE_MAINTAINER "Ballotine developers <ballotine@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian packages (as in dist/changelog)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ballotine)
set(CPACK_PACKAGE_VENDOR "The Ballotine developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${BALLOTINE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/ballotine/ballotine)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(BALLOTINE_BUILD_GUI)
    list(APPEND CPACK_COMPONENTS_ALL gui)
endif()
set(CPACK_COMPONENT_GUI_DEPENDS cli)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME ballotine-cli)
set(CPACK_COMPONENT_CLI_DESCRIPTION
"vote maps for Half-Life TFC servers, command line
Ballotine builds vote maps for Half-Life servers that run Team Fortress
Classic: pick 2 to 16 installed maps, set the expected players, wall
strength and political thugs, and compile them into vote.bsp, whose doors
let the players vote which map comes next. It also saves and loads vote map
lists, rewrites a map's entities for a server size, and updates maps, entity
settings and mods from an update server.
.
This package holds ballotine-cli, which does all of that without a window,
for dedicated servers and scripts, and its helper tools: ripent (imports
entity text into a map) and pkzip25 (unpacks downloaded packages).")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME ballotine)
set(CPACK_COMPONENT_GUI_DESCRIPTION
"vote maps for Half-Life TFC servers
Ballotine builds vote maps for Half-Life servers that run Team Fortress
Classic: pick 2 to 16 installed maps, set the expected players, wall
strength and political thugs, and compile them into vote.bsp, whose doors
let the players vote which map comes next. It also saves and loads vote map
lists, rewrites a map's entities for a server size, and updates maps, entity
settings and mods from an update server.
.
This package holds the window, with its desktop entry.")

include(CPack)

# Installation and release packages: both programs, the README and the
# authors' reference in docs/.
#
# On Windows everything goes into one folder, the way a ZIP is unpacked and
# used there: the two .exe files beside README.md and docs/. Elsewhere the
# usual layout: bin/ for the programs, share/doc/scenario_builder/ for the
# documents. scenario_builder writes its files next to its own executable,
# so it is run from wherever it was unpacked or copied to.
#
# Both Windows executables link their runtime statically, so the ZIP carries
# no DLL and needs none.

include(GNUInstallDirs)
if(WIN32)
  set(SB_INSTALL_BINDIR .)
  set(SB_INSTALL_DOCDIR .)
else()
  set(SB_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
  set(SB_INSTALL_DOCDIR ${CMAKE_INSTALL_DOCDIR})
endif()

install(TARGETS scenario_builder scenario_tool RUNTIME DESTINATION ${SB_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${SB_INSTALL_DOCDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${SB_INSTALL_DOCDIR}/docs
  FILES_MATCHING PATTERN "*.md" PATTERN "*.png")

# The editor packages beside the documents: the VS Code extension, built by
# `npm run package` in editors/vscode (.ci/run does it before packaging, and
# tools/controlla_pacchetti.sh fails a package without it), and the Neovim
# module, taken as it stands.
install(FILES ${CMAKE_SOURCE_DIR}/editors/vscode/scenario-sources.vsix
  DESTINATION ${SB_INSTALL_DOCDIR}/editors OPTIONAL)
install(FILES ${CMAKE_SOURCE_DIR}/editors/nvim/lua/scenario_sources.lua
  DESTINATION ${SB_INSTALL_DOCDIR}/editors/nvim/lua)

set(CPACK_PACKAGE_NAME scenario_builder)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Builds a train-driving simulator scenario; compiles authors' own line and train sources")
# A .tar.gz from the native Linux build, a ZIP from the Windows build; the
# archive holds one top folder named after the package, version and system
# (scenario_builder-1.0.0-Linux, scenario_builder-1.0.0-win64).
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# Only binary packages; the sources are the repository.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

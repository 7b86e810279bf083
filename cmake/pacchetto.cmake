# Installation and release packages: both programs, the README and the
# authors' reference in docs/, and on Linux a manual page for each program.
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

# A manual page for each program, made from its help text at build time
# (cmake/pagina_man.cmake): scenario_tool's from its --help and that of each
# subcommand, scenario_builder's from app/aiuto.txt, since a program that
# takes no arguments has no --help to ask.
if(NOT WIN32)
  set(SB_PAGINE_MAN ${CMAKE_BINARY_DIR}/man/scenario_tool.1.gz ${CMAKE_BINARY_DIR}/man/scenario_builder.1.gz)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/scenario_tool.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -DPROGRAMMA=scenario_tool -DESEGUIBILE=$<TARGET_FILE:scenario_tool>
      -DVERSIONE=${PROJECT_VERSION} -DUSCITA=${CMAKE_BINARY_DIR}/man/scenario_tool.1
      -P ${PROJECT_SOURCE_DIR}/cmake/pagina_man.cmake
    DEPENDS scenario_tool ${PROJECT_SOURCE_DIR}/cmake/pagina_man.cmake
    VERBATIM)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/scenario_builder.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -DPROGRAMMA=scenario_builder -DTESTO=${PROJECT_SOURCE_DIR}/app/aiuto.txt
      -DVERSIONE=${PROJECT_VERSION} -DUSCITA=${CMAKE_BINARY_DIR}/man/scenario_builder.1
      -P ${PROJECT_SOURCE_DIR}/cmake/pagina_man.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/app/aiuto.txt ${PROJECT_SOURCE_DIR}/cmake/pagina_man.cmake
    VERBATIM)
  add_custom_target(pagine_man ALL DEPENDS ${SB_PAGINE_MAN})
  install(FILES ${SB_PAGINE_MAN} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME scenario_builder)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Builds a train-driving simulator scenario; compiles authors' own line and train sources")
set(CPACK_PACKAGE_CONTACT "scenario_builder maintainers <maintainers@localhost>")
# A .tar.gz and a .deb from the native Linux build, a ZIP from the Windows
# build; an archive holds one top folder named after the package, version
# and system (scenario_builder-1.0.0-Linux, scenario_builder-1.0.0-win64).
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ DEB)
endif()
# The .deb: Debian's own name rules (no "_" in a package name) and file name
# (scenario-builder_1.0.0_amd64.deb), installed under /usr. Its dependencies
# are what the programs link at run time, worked out by dpkg-shlibdeps: the
# C library and, for scenario_tool, the C++ runtime, both part of every
# Debian system.
set(CPACK_DEBIAN_PACKAGE_NAME scenario-builder)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description under the summary line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "scenario_builder builds the Lavrano-Cestelle scenario with train 58121 in one
unattended run. scenario_tool checks and compiles line and train sources of
an author's own, reports every problem with its file, line and column, and
reads compiled files back.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# Only binary packages; the sources are the repository.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)

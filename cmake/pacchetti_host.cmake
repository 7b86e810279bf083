# The header-only libraries of the tool (CLI11, nlohmann-json) for the
# Windows cross-build, from the machine's own Debian packages.
#
# The cross-build searches only its own root (/usr/x86_64-w64-mingw32), and
# rightly: a package config found under the host's /usr would hand the
# target /usr/include, whose C library headers would then be taken for
# MinGW's own. So the build directory gets a root of its own holding only
# these two packages, as links into the host's: the config files, which
# place their headers relative to themselves, and the headers' folders.
# Nothing is copied; the imported targets then name this root's include/,
# where nothing else lies.
set(SB_RADICE_HOST ${CMAKE_BINARY_DIR}/radice_host/usr)
set(sb_collegamenti
  share/cmake/CLI11 include/CLI
  share/cmake/nlohmann_json include/nlohmann)
foreach(parte IN LISTS sb_collegamenti)
  if(NOT EXISTS /usr/${parte})
    message(FATAL_ERROR "/usr/${parte} not found: install libcli11-dev and nlohmann-json3-dev")
  endif()
  get_filename_component(cartella ${SB_RADICE_HOST}/${parte} DIRECTORY)
  file(MAKE_DIRECTORY ${cartella})
  file(CREATE_LINK /usr/${parte} ${SB_RADICE_HOST}/${parte} SYMBOLIC)
endforeach()
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_BINARY_DIR}/radice_host)

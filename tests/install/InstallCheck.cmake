# Installs the build into a fresh folder and checks that it holds the program,
# the help author's check tavlin-check and the two symbol images side by side
# (plus the browser engine plugin when it is built), and nothing else: no
# tests, other tools or benchmarks.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DWITH_ENGINE=ON|OFF -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
set(expected Tavlin_1280.gif Tavlin_800.gif tavlin tavlin-check)
if(WITH_ENGINE)
    list(APPEND expected libtavlin_webengine.so)
endif()
list(SORT expected)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "installed: ${installed}\nexpected: ${expected}")
endif()
if(NOT IS_DIRECTORY "${PREFIX}" OR IS_SYMLINK "${PREFIX}/tavlin" OR IS_SYMLINK "${PREFIX}/tavlin-check")
    message(FATAL_ERROR "the programs are not files of their own")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "installed: ${installed}")

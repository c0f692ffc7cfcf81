# Installs the build into a fresh folder, which must hold tavlin and tavlin-check as files
# of their own, the two symbol images and, if built, the engine plugin: nothing more.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DWITH_ENGINE=ON|OFF -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
set(expected Tavlin_1280.gif Tavlin_800.gif tavlin tavlin-check)
if(WITH_ENGINE)
    list(APPEND expected libtavlin_webengine.so)
endif()
list(SORT installed)
list(SORT expected)
if(NOT result EQUAL 0 OR NOT installed STREQUAL expected
   OR IS_SYMLINK "${PREFIX}/tavlin" OR IS_SYMLINK "${PREFIX}/tavlin-check")
    message(FATAL_ERROR "cmake --install: ${result}\ninstalled: ${installed}\nexpected: ${expected}")
endif()
file(REMOVE_RECURSE "${PREFIX}")

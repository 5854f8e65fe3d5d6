# The native build drives two more builds of the same tree: the Windows cross
# build and the clang fuzz build. Their tests join this build's CTest run.
include(ExternalProject)

set(sub_tests_file ${CMAKE_BINARY_DIR}/sub_build_tests.cmake)
file(WRITE ${sub_tests_file} "")

if(MEMO_WITH_WINDOWS)
  set(WINDOWS_BINARY_DIR ${CMAKE_BINARY_DIR}/windows)
  ExternalProject_Add(windows_build
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${WINDOWS_BINARY_DIR}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
      -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
  file(APPEND ${sub_tests_file} "subdirs(\"${WINDOWS_BINARY_DIR}\")\n")
endif()

if(MEMO_WITH_FUZZ)
  find_program(CLANGXX NAMES clang++ clang++-14 REQUIRED)
  set(FUZZ_BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz)
  ExternalProject_Add(fuzz_build
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${FUZZ_BINARY_DIR}
    CMAKE_ARGS
      -DCMAKE_CXX_COMPILER=${CLANGXX}
      -DCMAKE_C_COMPILER=clang
      -DCMAKE_BUILD_TYPE=RelWithDebInfo
      -DMEMO_FUZZ_BUILD=ON
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
  file(APPEND ${sub_tests_file} "subdirs(\"${FUZZ_BINARY_DIR}\")\n")
endif()

set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${sub_tests_file})

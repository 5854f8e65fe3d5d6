# Warnings for the project's own targets, and the system's literals as code
# page 936 bytes while the sources stay UTF-8.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
target_include_directories(project_options INTERFACE ${PROJECT_SOURCE_DIR})

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(project_options INTERFACE -finput-charset=UTF-8 -fexec-charset=GBK)
  set(MEMO_LITERALS_ARE_GBK ON)
else()
  # clang 14 only knows UTF-8 as execution character set; its builds (the fuzz
  # targets) keep UTF-8 literals, which the byte-level logic handles alike.
  set(MEMO_LITERALS_ARE_GBK OFF)
endif()

if(NOT CMAKE_CROSSCOMPILING AND NOT MEMO_FUZZ_BUILD)
  # Native unit tests and the code they test run under AddressSanitizer and UBSan.
  add_library(sanitizers INTERFACE)
  target_compile_options(sanitizers INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=all)
  target_link_options(sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# add_portable_library(NAME SOURCES... [DEPENDS libs...]): a static library of
# portable code; in the native build also NAME_checked, built with the
# sanitizers and linked to the checked variants of its dependencies.
function(add_portable_library name)
  cmake_parse_arguments(arg "" "" "DEPENDS" ${ARGN})
  add_library(${name} STATIC ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PUBLIC project_options ${arg_DEPENDS})
  if(TARGET sanitizers)
    list(TRANSFORM arg_DEPENDS APPEND _checked OUTPUT_VARIABLE checked_depends)
    add_library(${name}_checked STATIC ${arg_UNPARSED_ARGUMENTS})
    target_link_libraries(${name}_checked PUBLIC project_options sanitizers ${checked_depends})
  endif()
endfunction()

# The variant of a portable library that tests link: the sanitized one where
# there is one.
function(portable_test_libraries out)
  set(result "")
  foreach(name ${ARGN})
    if(TARGET ${name}_checked)
      list(APPEND result ${name}_checked)
    else()
      list(APPEND result ${name})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

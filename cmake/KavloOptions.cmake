# Compiler settings shared by every target of ours.

set(KAVLO_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
# Tests find the bundled sample machine and scripts through this path; under Wine
# the host file system is drive Z:.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(KAVLO_TEST_SOURCE_DIR "Z:${PROJECT_SOURCE_DIR}")
else()
  set(KAVLO_TEST_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
endif()

set(KAVLO_SANITIZER_FLAGS "")
if(KAVLO_SANITIZE)
  list(APPEND KAVLO_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
endif()
if(KAVLO_FUZZ)
  list(APPEND KAVLO_SANITIZER_FLAGS -fsanitize=fuzzer-no-link)
endif()
if(KAVLO_SANITIZER_FLAGS)
  add_compile_options(${KAVLO_SANITIZER_FLAGS})
  add_link_options(${KAVLO_SANITIZER_FLAGS})
endif()

if(MINGW)
  # kavlo.exe and kavlo-cli.exe run standalone, without the MinGW runtime DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

# Warnings of every target of ours. Test, fuzz and benchmark programs see the
# whole source tree; libraries see only their layer and what they link (kavlo_layer).
function(kavlo_target_options target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports impossible overlaps inside std::string at -O3 (its bug 105651).
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

# kavlo_layer(target layer): the target's headers are included as "layer/...".
# Each layer gets an include root of its own that holds only a link to its
# folder, and a library sees the roots of the libraries it links: an include of
# a layer above (or beside) fails to compile.
function(kavlo_layer target layer)
  set(root "${CMAKE_BINARY_DIR}/layers/${layer}")
  if(NOT EXISTS "${root}/${layer}")
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${layer}" "${root}/${layer}" SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC "${root}")
  kavlo_target_options(${target})
endfunction()

# kavlo_add_test(NAME name SOURCES src... [LIBS lib...])
# One test program per module; ctest runs it (under Wine when cross-compiling).
# Windows test programs get the application manifest, so that they see the
# system as kavlo.exe does (version queries, common controls).
function(kavlo_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  kavlo_target_options(${T_NAME})
  target_compile_definitions(${T_NAME} PRIVATE KAVLO_TEST_SOURCE_DIR="${KAVLO_TEST_SOURCE_DIR}")
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(COMMAND kavlo_windows_manifest)
    kavlo_windows_manifest(${T_NAME})
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_brief=1)
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 600)
endfunction()

# kavlo_add_fuzzer(NAME name SOURCES src... CORPUS dir [LIBS lib...] [SECONDS n])
# With KAVLO_FUZZ a libFuzzer program that ctest runs for a few seconds over its
# corpus; otherwise a program that replays every file of the corpus, so saved
# inputs are regression tests on every build, Wine included.
function(kavlo_add_fuzzer)
  cmake_parse_arguments(F "" "NAME;CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  if(KAVLO_FUZZ)
    add_executable(${F_NAME} ${F_SOURCES})
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    set(workdir ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}-corpus)
    add_test(NAME ${F_NAME}
             COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                     sh -c "mkdir -p '${workdir}' && exec \"$0\" -max_total_time=${F_SECONDS} -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 '${workdir}' '${F_CORPUS}'"
                     $<TARGET_FILE:${F_NAME}>)
  else()
    add_executable(${F_NAME} ${F_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/fuzz_replay_main.cpp)
    set(corpus "${F_CORPUS}")
    if(WIN32 AND CMAKE_CROSSCOMPILING)
      set(corpus "Z:${F_CORPUS}")
    endif()
    add_test(NAME ${F_NAME} COMMAND ${F_NAME} "${corpus}")
  endif()
  kavlo_target_options(${F_NAME})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  set_tests_properties(${F_NAME} PROPERTIES TIMEOUT 300)
endfunction()

# The program's version, set once by project(VERSION): the first two numbers are
# the version that users see ("1.50"), the fourth is the build ("35"). The
# packages, the version resources, "kavlo --version" and the About box take
# it from here.
#
#   kavlo_version              interface target: #include "kavlo_version.h"
#   KAVLO_GENERATED_DIR        folder of kavlo_version.h (for the resource compiler)
#   kavlo_version_resource(target DESCRIPTION text)
#                              version resource of a Windows executable

if(NOT PROJECT_VERSION_TWEAK MATCHES "^[0-9]+$")
  message(FATAL_ERROR "project(VERSION) needs four numbers: major.minor.0.build")
endif()
set(KAVLO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
set(KAVLO_BUILD_NUMBER "${PROJECT_VERSION_TWEAK}")

set(KAVLO_GENERATED_DIR "${PROJECT_BINARY_DIR}/generated")
configure_file("${CMAKE_CURRENT_LIST_DIR}/kavlo_version.h.in" "${KAVLO_GENERATED_DIR}/kavlo_version.h" @ONLY)
add_library(kavlo_version INTERFACE)
target_include_directories(kavlo_version INTERFACE "${KAVLO_GENERATED_DIR}")

function(kavlo_version_resource target)
  cmake_parse_arguments(V "" "DESCRIPTION" "" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  set(KAVLO_RC_DESCRIPTION "${V_DESCRIPTION}")
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(KAVLO_RC_INTERNAL_NAME "${name}")
  set(KAVLO_RC_FILE_NAME "${name}.exe")

  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_version")
  configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version.rc.in" "${dir}/version.rc" @ONLY)
  set(object "${dir}/version.res.obj")
  add_custom_command(
    OUTPUT "${object}"
    COMMAND "${CMAKE_RC_COMPILER}" -O coff -i "${dir}/version.rc" -o "${object}"
    DEPENDS "${dir}/version.rc"
    COMMENT "Version resource of ${target}"
    VERBATIM)
  set_source_files_properties("${object}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE "${object}")
endfunction()

# Application manifest for every Windows executable: common controls version 6,
# per-monitor DPI awareness, the supported Windows versions (so that version
# queries are not lied to on Windows 8.1 and later) and the asInvoker level.
#
#   kavlo_windows_manifest(target)
#
# The resource script is compiled with the toolchain's resource compiler by a
# custom command in the target's own directory, so this works for targets in any
# folder without enabling the RC language at the top level.

function(kavlo_windows_manifest target)
  if(NOT WIN32)
    return()
  endif()
  # A second call for the same target would add a second rule for the same resource.
  get_target_property(has_manifest ${target} KAVLO_WINDOWS_MANIFEST)
  if(has_manifest)
    return()
  endif()
  set_target_properties(${target} PROPERTIES KAVLO_WINDOWS_MANIFEST ON)
  if(NOT CMAKE_RC_COMPILER)
    message(FATAL_ERROR "kavlo_windows_manifest: no resource compiler (set CMAKE_RC_COMPILER in the toolchain)")
  endif()

  set(templates "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../platform/win32/manifest")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KAVLO_MANIFEST_ARCH amd64)
  else()
    set(KAVLO_MANIFEST_ARCH x86)
  endif()
  set(KAVLO_MANIFEST_NAME "${target}")
  set(KAVLO_MANIFEST_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")

  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest")
  set(KAVLO_MANIFEST_FILE "${dir}/${target}.manifest")
  configure_file("${templates}/kavlo.manifest.in" "${KAVLO_MANIFEST_FILE}" @ONLY)
  configure_file("${templates}/kavlo_manifest.rc.in" "${dir}/manifest.rc" @ONLY)

  set(object "${dir}/manifest.res.obj")
  add_custom_command(
    OUTPUT "${object}"
    COMMAND "${CMAKE_RC_COMPILER}" -O coff -i "${dir}/manifest.rc" -o "${object}"
    DEPENDS "${dir}/manifest.rc" "${KAVLO_MANIFEST_FILE}"
    COMMENT "Manifest for ${target}"
    VERBATIM)
  set_source_files_properties("${object}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE "${object}")
endfunction()

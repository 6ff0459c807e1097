# The PCI device index "drvidx.bin" that the Windows package ships beside the
# programs, made at build time by tools/device_index from the PCI ID list of
# Debian's pci.ids package. The tool runs on the build machine: when the tree is
# cross-compiled it is built there as a project of its own.

if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(tool_dir "${PROJECT_BINARY_DIR}/host-tools/device_index")
  set(KAVLO_DEVICE_INDEX_TOOL "${tool_dir}/make_device_index")
  # The build machine's own compiler: the tree's toolchain file is not passed on.
  ExternalProject_Add(kavlo_device_index_tool
    SOURCE_DIR "${PROJECT_SOURCE_DIR}/tools/device_index"
    BINARY_DIR "${tool_dir}"
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS "${KAVLO_DEVICE_INDEX_TOOL}")
  # The tool's file as well, so that a changed tool makes the index again.
  set(tool_target kavlo_device_index_tool "${KAVLO_DEVICE_INDEX_TOOL}")
else()
  add_subdirectory(tools/device_index)
  set(KAVLO_DEVICE_INDEX_TOOL "$<TARGET_FILE:kavlo_make_device_index>")
  set(tool_target kavlo_make_device_index)
endif()

if(WIN32)
  set(KAVLO_PCI_IDS "/usr/share/misc/pci.ids" CACHE FILEPATH "The PCI ID list the device index is made from")
  if(NOT EXISTS "${KAVLO_PCI_IDS}")
    message(FATAL_ERROR "The device index drvidx.bin is made from ${KAVLO_PCI_IDS}: apt-get install pci.ids "
                        "(or set KAVLO_PCI_IDS), then configure again")
  endif()
  set(KAVLO_DEVICE_INDEX "${PROJECT_BINARY_DIR}/drvidx.bin")
  add_custom_command(OUTPUT "${KAVLO_DEVICE_INDEX}"
    COMMAND "${KAVLO_DEVICE_INDEX_TOOL}" "${KAVLO_PCI_IDS}" "${KAVLO_DEVICE_INDEX}"
    DEPENDS "${KAVLO_PCI_IDS}" ${tool_target}
    COMMENT "Making drvidx.bin from ${KAVLO_PCI_IDS}")
  add_custom_target(kavlo_device_index ALL DEPENDS "${KAVLO_DEVICE_INDEX}")
endif()

if(KAVLO_TESTS AND NOT CMAKE_CROSSCOMPILING)
  # The sample machine's committed index is what its committed list makes.
  add_test(NAME sample_device_index_is_current
    COMMAND "${KAVLO_DEVICE_INDEX_TOOL}" "${PROJECT_SOURCE_DIR}/scripts/tools/sample_content/sample-pci.ids"
            "${PROJECT_SOURCE_DIR}/samples/office7/drives/c/Program Files/Quorvane/KAVLO/drvidx.bin" --check)
endif()

# What is installed and packaged by `cmake --build <tree> --target package`:
#
#   Windows tree  KAVLO-<version>-win64.zip: kavlo.exe and kavlo-cli.exe with the
#                 scripts and the PCI device index drvidx.bin beside them (the
#                 programs read them from their own folder), README.txt and the
#                 licences of the libraries linked in.
#                 Both programs are linked statically (cmake/KavloOptions.cmake).
#   Linux tree    kavlo_<version>_<arch>.deb: /usr/bin/kavlo, the scripts and the
#                 sample machine in /usr/share/kavlo, a man page made from --help.
#
# tools/package.sh builds both and checks them.

include(GNUInstallDirs)

set(KAVLO_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
file(GLOB KAVLO_SHIPPED_SCRIPTS CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/scripts/*.dbg")
list(PREPEND KAVLO_SHIPPED_SCRIPTS "${PROJECT_SOURCE_DIR}/scripts/DBGList.cfg")

# The programs find their installed data relative to themselves (platform/program_folder.cpp),
# so a package unpacked anywhere, not only below /usr, finds its scripts.
set(KAVLO_INSTALL_DATA_DIR "${CMAKE_INSTALL_DATADIR}/kavlo")
file(RELATIVE_PATH KAVLO_DATA_FROM_PROGRAM "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${KAVLO_INSTALL_DATA_DIR}")
target_compile_definitions(kavlo_platform PRIVATE KAVLO_INSTALLED_DATA_FROM_PROGRAM="${KAVLO_DATA_FROM_PROGRAM}")

set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "support information of Windows computers, gathered by diagnostic scripts")
set(CPACK_PACKAGE_CONTACT "Quorvane technical support <support@quorvane.example>" CACHE STRING
    "Maintainer of the packages, \"Name <address>\"")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS kavlo kavlo_cli RUNTIME DESTINATION .)
  install(FILES ${KAVLO_SHIPPED_SCRIPTS} DESTINATION .)
  install(FILES "${KAVLO_DEVICE_INDEX}" DESTINATION .)  # the PCI probes' device index (cmake/DeviceIndex.cmake)
  # Customers read these with Notepad, which before Windows 10 shows only CR LF line ends.
  set(text_dir "${PROJECT_BINARY_DIR}/packaging")
  configure_file("${KAVLO_PACKAGING_DIR}/windows/README.txt.in" "${text_dir}/README.txt" @ONLY NEWLINE_STYLE CRLF)
  install(FILES "${text_dir}/README.txt" DESTINATION .)
  file(GLOB licenses CONFIGURE_DEPENDS "${KAVLO_PACKAGING_DIR}/licenses/*.txt")
  foreach(license IN LISTS licenses)
    get_filename_component(name "${license}" NAME)
    file(READ "${license}" text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${text_dir}/licenses/${name}" "${text}")
    install(FILES "${text_dir}/licenses/${name}" DESTINATION licenses)
  endforeach()

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "KAVLO-${PROJECT_VERSION}-win64")
else()
  install(TARGETS kavlo_cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  install(FILES ${KAVLO_SHIPPED_SCRIPTS} DESTINATION "${KAVLO_INSTALL_DATA_DIR}/scripts")
  install(DIRECTORY "${PROJECT_SOURCE_DIR}/samples/office7" DESTINATION "${KAVLO_INSTALL_DATA_DIR}/samples")

  # The man page is made from "kavlo --help" and each command's --help when the
  # package is made, so that building the program alone does not need help2man.
  find_program(KAVLO_HELP2MAN help2man)
  set(KAVLO_MAN_DIR "${CMAKE_INSTALL_MANDIR}/man1")
  set(man_page_code [[
    set(help2man "@KAVLO_HELP2MAN@")
    if(NOT help2man)
      message(FATAL_ERROR "The man page of kavlo is made by help2man: apt-get install help2man, then configure again")
    endif()
    set(program "$<TARGET_FILE:kavlo_cli>")
    # The commands are the lines "  NAME ..." of the usage text.
    execute_process(COMMAND "${program}" --help OUTPUT_VARIABLE usage RESULT_VARIABLE failed)
    string(REGEX MATCHALL "\n  [a-z]+" names "${usage}")
    if(failed OR NOT names)
      message(FATAL_ERROR "kavlo --help names no commands: ${failed}")
    endif()
    set(commands "[COMMANDS IN DETAIL]\n")
    foreach(command IN LISTS names)
      string(STRIP "${command}" command)
      execute_process(COMMAND "${program}" ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "kavlo ${command} --help failed: ${failed}")
      endif()
      # roff: a backslash is written \e; a line starting with a dot or quote would be a request.
      string(REPLACE "\\" "\\e" help "${help}")
      string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
      string(APPEND commands ".SS kavlo ${command}\n.nf\n${help}.fi\n")
    endforeach()
    set(include "@PROJECT_BINARY_DIR@/kavlo-man-commands.h2m")
    file(WRITE "${include}" "${commands}")
    set(man_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@KAVLO_MAN_DIR@")
    file(MAKE_DIRECTORY "${man_dir}")
    execute_process(
      COMMAND "${help2man}" --no-info --section 1 --include "${include}"
              --name "gather, view and export support reports of Windows computers"
              --output "${man_dir}/kavlo.1" "${program}"
      RESULT_VARIABLE failed)
    if(NOT failed)
      execute_process(COMMAND gzip -9nf "${man_dir}/kavlo.1" RESULT_VARIABLE failed)
    endif()
    if(failed)
      message(FATAL_ERROR "The man page of kavlo could not be made: ${failed}")
    endif()
  ]])
  string(CONFIGURE "${man_page_code}" man_page_code @ONLY)
  install(CODE "${man_page_code}")

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME kavlo)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The command line of KAVLO: runs its diagnostic scripts against a simulated
machine (a folder) and gathers, shows and exports support reports (.IFO).
The bundled scripts and a sample machine lie in /usr/share/kavlo.")
  # The run-time libraries the program links, as dpkg-shlibdeps finds them.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)

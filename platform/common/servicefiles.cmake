# SPDX-FileCopyrightText: 2026 The Pavane developers
# SPDX-License-Identifier: LGPL-2.1-or-later

# platform_install_service_file(<template>.in DESTINATION <dir>): installs the
# template, without its .in, into <dir> under the prefix. Units and D-Bus
# service files name the daemon by its absolute path, so @SBINDIR@ and
# @BINDIR@ are filled in when installing, from the prefix given then
# (cmake --install --prefix), not the one of the configuration.
function(platform_install_service_file template)
  cmake_parse_arguments(SERVICE "" "DESTINATION" "" ${ARGN})
  get_filename_component(name ${template} NAME)
  string(REGEX REPLACE "\\.in$" "" name ${name})
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/${template})
  set(configured ${CMAKE_CURRENT_BINARY_DIR}/service-files/${name})
  install(CODE "
    set(SBINDIR \"${CMAKE_INSTALL_SBINDIR}\")
    set(BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    foreach(dir SBINDIR BINDIR)
      if(NOT IS_ABSOLUTE \"\${\${dir}}\")
        set(\${dir} \"\${CMAKE_INSTALL_PREFIX}/\${\${dir}}\")
      endif()
    endforeach()
    configure_file(\"${source}\" \"${configured}\" @ONLY)")
  install(FILES ${configured} DESTINATION ${SERVICE_DESTINATION})
endfunction()

# SPDX-FileCopyrightText: 2026 The Pavane developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# What every project of the platform shares, included right after its
# project(): the language and Qt settings, the warnings, and how a project
# installs its package.

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_AUTOMOC ON)
# Q_SIGNALS, Q_SLOTS and Q_EMIT only: GLib and libc use the plain words.
# None of Qt's interfaces deprecated in 5.15 or before.
add_compile_definitions(QT_NO_KEYWORDS QT_DISABLE_DEPRECATED_BEFORE=0x050F00)
option(WARNINGS_AS_ERRORS "Fail the build on any compiler warning" OFF)
add_compile_options(-Wall -Wextra)
if(WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()
include(GNUInstallDirs)
option(BUILD_TESTING "Build the tests" ON)

# platform_add_tests(): the project's tests/ folder, when tests are wanted.
macro(platform_add_tests)
  if(BUILD_TESTING)
    enable_testing()
    add_subdirectory(tests)
  endif()
endmacro()

set(PLATFORM_COMMON_DIR ${CMAKE_CURRENT_LIST_DIR})

# platform_install_package([DEPENDENCIES "<find_dependency arguments>"...]):
# installs the export set <Project>Targets under the namespace <Project>::,
# with <Project>Config.cmake and its version file, so that a consumer needs
# only find_package(<Project>); the Config finds first the packages that the
# targets' interfaces name.
function(platform_install_package)
  cmake_parse_arguments(PACKAGE "" "" "DEPENDENCIES" ${ARGN})
  set(PACKAGE_FIND_DEPENDENCIES)
  if(PACKAGE_DEPENDENCIES)
    set(PACKAGE_FIND_DEPENDENCIES "include(CMakeFindDependencyMacro)\n")
    foreach(dependency ${PACKAGE_DEPENDENCIES})
      string(APPEND PACKAGE_FIND_DEPENDENCIES "find_dependency(${dependency})\n")
    endforeach()
  endif()
  include(CMakePackageConfigHelpers)
  set(destination ${CMAKE_INSTALL_LIBDIR}/cmake/${PROJECT_NAME})
  install(EXPORT ${PROJECT_NAME}Targets NAMESPACE ${PROJECT_NAME}:: DESTINATION ${destination})
  configure_package_config_file(${PLATFORM_COMMON_DIR}/PackageConfig.cmake.in
    ${PROJECT_BINARY_DIR}/${PROJECT_NAME}Config.cmake INSTALL_DESTINATION ${destination})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/${PROJECT_NAME}ConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/${PROJECT_NAME}Config.cmake
    ${PROJECT_BINARY_DIR}/${PROJECT_NAME}ConfigVersion.cmake DESTINATION ${destination})
endfunction()

# platform_add_manpage(<name>.<section>.scd): the manual page, written by
# scdoc at build time, installed into share/man/man<section>, and a test
# that man renders it without a complaint. Without scdoc the project builds
# without its pages, saying so once.
function(platform_add_manpage source)
  find_program(SCDOC_EXECUTABLE scdoc)
  if(NOT SCDOC_EXECUTABLE)
    get_property(said GLOBAL PROPERTY PLATFORM_SCDOC_MISSING_SAID)
    if(NOT said)
      message(STATUS "scdoc not found: the manual pages are not built (scripts/setup installs it)")
      set_property(GLOBAL PROPERTY PLATFORM_SCDOC_MISSING_SAID TRUE)
    endif()
    return()
  endif()
  string(REGEX REPLACE "\\.scd$" "" page ${source})
  string(REGEX MATCH "[^.]+$" section ${page})
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${page})
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "\"$0\" < \"$1\" > \"$2\"" ${SCDOC_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${output}
    DEPENDS ${source}
    COMMENT "Writing the manual page ${page}"
    VERBATIM)
  add_custom_target(manpage-${page} ALL DEPENDS ${output})
  install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  if(BUILD_TESTING)
    # man says nothing on its own about a page it cannot lay out well;
    # groff's warnings tell.
    add_test(NAME manpage_${page} COMMAND sh -c "MANWIDTH=80 man --warnings -l \"$0\" > /dev/null" ${output})
    set_tests_properties(manpage_${page} PROPERTIES FAIL_REGULAR_EXPRESSION "warning|error")
  endif()
endfunction()

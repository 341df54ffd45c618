# SPDX-FileCopyrightText: 2026 The Pavane developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Builds and runs the consumer against the installed PREFIX twice: through
# the CMake package and through pkg-config.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "failed (${rc}): ${command}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
# A host's machine has no display: the consumer's widgets render offscreen.
set(ENV{QT_QPA_PLATFORM} offscreen)

# The CMake package.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/cmake-build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
run(${WORK_DIR}/cmake-build/consumer)

# The pkg-config file: the installed prefix alone, wherever it lies.
file(GLOB_RECURSE pc_files ${PREFIX}/*/pavanedlg.pc)
list(LENGTH pc_files found)
if(NOT found EQUAL 1)
  message(FATAL_ERROR "expected one installed pavanedlg.pc, found: ${pc_files}")
endif()
get_filename_component(pc_dir ${pc_files} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
execute_process(COMMAND pkg-config --cflags --libs pavanedlg
  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know pavanedlg")
endif()
# A host links what the headers need; what the library uses inside stays
# inside it.
if(flags MATCHES "-lnetprefs|-ldbus|-lQt5Versit|-lQt5DBus")
  message(FATAL_ERROR "pkg-config hands a host the library's private dependencies: ${flags}")
endif()
execute_process(COMMAND pkg-config --modversion pavanedlg
  OUTPUT_VARIABLE pc_version OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(flags UNIX_COMMAND "${flags}")
separate_arguments(extra UNIX_COMMAND "${CXX_FLAGS}")
# Qt itself asks its hosts for position-independent code.
run(${CXX} -std=c++17 -fPIC ${extra} "-DCONSUMER_PACKAGE_VERSION=\"${pc_version}\""
    ${CONSUMER_DIR}/main.cpp ${flags} -o ${WORK_DIR}/pc-consumer)
get_filename_component(libdir ${pc_dir} DIRECTORY)
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libdir} ${WORK_DIR}/pc-consumer)

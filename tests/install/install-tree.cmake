# SPDX-FileCopyrightText: 2026 The Pavane developers
# SPDX-License-Identifier: LGPL-2.1-or-later
# Installs the build tree BUILD_DIR into a fresh PREFIX: nothing of an
# earlier install may hide a file that this one misses.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installing ${BUILD_DIR} into ${PREFIX} failed (${rc})")
endif()

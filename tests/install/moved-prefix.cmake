# SPDX-FileCopyrightText: 2026 The Pavane developers
# SPDX-License-Identifier: LGPL-2.1-or-later

# Copies the installed PREFIX to COPY and runs REPORTER on the copy's toolkit:
# it reads the copy's theme and catalogues, found from where its library
# lies, and falls through to the next place when the copy's are gone.
file(REMOVE_RECURSE ${COPY})
execute_process(COMMAND cp -a ${PREFIX} ${COPY} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "copying ${PREFIX} to ${COPY} failed (${rc})")
endif()
file(GLOB_RECURSE library ${COPY}/*/libtesseltouchcore.so.0)
file(GLOB_RECURSE theme ${COPY}/*/tesseltouch/themes/default/default.css)
get_filename_component(libdir "${library}" DIRECTORY)
get_filename_component(theme_dir "${theme}" DIRECTORY)
get_filename_component(translations ${theme_dir}/../../translations ABSOLUTE)
# The copy's English catalogue speaks Finnish: only the copy says "Seuraava".
file(COPY_FILE ${translations}/common_fi.qm ${translations}/common_en.qm)

function(expect theme text)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=TESSELTOUCH_THEME_DIR
      --unset=TESSELTOUCH_TRANSLATIONS_DIR LD_LIBRARY_PATH=${libdir} QT_QPA_PLATFORM=offscreen ${REPORTER}
    OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "${theme}\n${text}\n")
    message(FATAL_ERROR "expected the theme in ${theme} and \"${text}\"; the toolkit said (${rc}):\n${out}")
  endif()
endfunction()

expect(${theme_dir} Seuraava)
# A theme folder that is a file and no catalogues: the configured prefix's
# data if the machine has it, else the copy built into the library.
file(REMOVE_RECURSE ${theme_dir} ${translations})
file(WRITE ${theme_dir} "not a folder")
if(EXISTS ${CONFIGURED_THEME_DIR})
  expect(${CONFIGURED_THEME_DIR} Next)
else()
  expect(:/tesseltouch/themes/default Next)
endif()

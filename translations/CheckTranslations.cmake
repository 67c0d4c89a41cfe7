# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a text of the sources has no finished English translation: runs
# lupdate over the sources into a copy of the .ts file and looks for messages
# that are new (unfinished) or were never translated.
#   cmake -DLUPDATE=... -DTS_FILE=... -DWORK=... -DSOURCES=dir;dir -DOPTIONS=... -P CheckTranslations.cmake
get_filename_component(name "${TS_FILE}" NAME)
set(copy "${WORK}/${name}")
file(COPY_FILE "${TS_FILE}" "${copy}")
execute_process(COMMAND "${LUPDATE}" -silent ${OPTIONS} -no-obsolete ${SOURCES} -ts "${copy}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed with status ${status}")
endif()
file(READ "${copy}" ts)
# A message may carry a disambiguation and a translator's note between its source and its translation.
string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<[a-z]*comment>[^<]*</[a-z]*comment>[^<]*)*<translation type=\"unfinished\""
       unfinished "${ts}")
string(REGEX MATCHALL "<translation>[ \t\r\n]*</translation>|<numerusform>[ \t\r\n]*</numerusform>" empty "${ts}")
list(LENGTH unfinished unfinishedCount)
list(LENGTH empty emptyCount)
if(unfinishedCount GREATER 0 OR emptyCount GREATER 0)
  foreach(message IN LISTS unfinished)
    string(REGEX REPLACE ".*<source>([^<]*)</source>.*" "\\1" source "${message}")
    message("no English for: ${source}")
  endforeach()
  message(FATAL_ERROR "${unfinishedCount} texts without English, ${emptyCount} empty translations; "
                      "run `cmake --build <build> --target update_translations` and translate them in ${TS_FILE}")
endif()
message("every text has its English translation")

# Without GAME: renders the manual page with every groff warning enabled,
# and through man itself, and fails on any complaint.
# With GAME: checks that every option the game's --help lists is described
# in the page's OPTIONS section.
#   cmake -DPAGE=... -DGROFF=groff [-DMAN=man] [-DGAME=tender-gamble] -P check_man_page.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT GROFF)
  message(FATAL_ERROR "groff is not installed (Debian package groff-base)")
endif()

if(GAME)
  execute_process(COMMAND ${GAME} --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${GAME} --help failed with status ${status}")
  endif()
  string(REGEX MATCHALL "--[a-z][a-z-]*" options "${help}")
  list(REMOVE_DUPLICATES options)
  if(NOT options)
    message(FATAL_ERROR "no options found in the output of --help:\n${help}")
  endif()
  execute_process(COMMAND ${GROFF} -man -Tascii -P-cbou ${PAGE} OUTPUT_VARIABLE text)
  string(FIND "${text}" "\nOPTIONS\n" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "the manual page has no OPTIONS section")
  endif()
  math(EXPR start "${start} + 9")
  string(SUBSTRING "${text}" ${start} -1 section)
  # Up to the next section heading: a line of capitals at the left margin.
  string(REGEX MATCH "\n[A-Z][A-Z ]*\n" heading "${section}")
  if(heading)
    string(FIND "${section}" "${heading}" end)
    string(SUBSTRING "${section}" 0 ${end} section)
  endif()
  foreach(option IN LISTS options)
    string(FIND "${section}" "${option}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the OPTIONS section does not describe ${option}, which --help lists")
    endif()
  endforeach()
  return()
endif()

execute_process(COMMAND ${GROFF} -man -ww -z ${PAGE}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "groff -man -ww complains about ${PAGE} (status ${status}):\n${out}${err}")
endif()

if(MAN)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env MANWIDTH=80 MANPAGER=cat PAGER=cat
                          ${MAN} --warnings -l ${PAGE}
                  RESULT_VARIABLE status OUTPUT_VARIABLE rendered ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "man --warnings -l complains about ${PAGE} (status ${status}):\n${err}")
  endif()
endif()

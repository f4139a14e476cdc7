# Installs the build into a scratch prefix, and again staged under DESTDIR
# as a package build would, and checks what lands where.
# With MAN_PAGE (a POSIX install) the menu entry and the documents too.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DPROGRAM=tender-gamble -DVERSION=1.0.0 [-DCOMMIT=abc1234]
#         [-DMAN_PAGE=share/man/man6/tender-gamble.6] [-DINSTALL_PREFIX=/usr/local]
#         [-DEMULATOR=runner] [-DMAN=/usr/bin/man] -P check_install.cmake
cmake_minimum_required(VERSION 3.25)

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

function(install_build)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    fail("cmake --install failed (${status}):\n${out}${err}")
  endif()
endfunction()

# The files of one installed tree, rooted at `root`.
function(check_tree root)
  set(program ${root}/bin/${PROGRAM})
  if(NOT EXISTS ${program})
    fail("${program} was not installed")
  endif()
  if(MAN_PAGE)
    set(page ${root}/${MAN_PAGE})
    if(NOT EXISTS ${page})
      fail("the manual page was not installed as ${page}")
    endif()
    file(READ ${page} text)
    if(text MATCHES "@[A-Z_]+@")
      fail("${page} still holds the placeholder ${CMAKE_MATCH_0}")
    endif()
    if(NOT text MATCHES "^\\.TH [^\n]*${VERSION}")
      fail("the title line of ${page} does not carry version ${VERSION}")
    endif()
    file(READ ${root}/share/applications/tender-gamble.desktop entry)
    if(NOT entry MATCHES "\nTerminal=true\n" OR NOT entry MATCHES "\nCategories=Game;")
      fail("the menu entry does not open the game in a terminal under Game:\n${entry}")
    endif()
    foreach(document IN ITEMS README.md CHANGELOG.md LICENSE)
      if(NOT EXISTS ${root}/share/doc/tender-gamble/${document})
        fail("${document} was not installed in ${root}/share/doc/tender-gamble")
      endif()
    endforeach()
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})

# 1. Straight into a prefix; the installed game must run from there.
set(prefix ${WORK_DIR}/prefix)
install_build(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
check_tree(${prefix})
execute_process(COMMAND ${EMULATOR} ${prefix}/bin/${PROGRAM} --version
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(expected "tender-gamble ${VERSION}")
if(COMMIT)
  string(APPEND expected " (commit ${COMMIT})")
endif()
if(NOT status EQUAL 0 OR NOT out STREQUAL "${expected}\n")
  fail("the installed game answered --version with status ${status}:\n${out}${err}")
endif()
# man finds the page in section 6 of the prefix's manual tree.
if(MAN_PAGE AND MAN)
  execute_process(COMMAND ${MAN} --manpath=${prefix}/share/man -w 6 tender-gamble
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(STRIP "${out}" out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${prefix}/${MAN_PAGE}")
    fail("man -w 6 tender-gamble found '${out}' (status ${status}) ${err}")
  endif()
endif()

# 2. Staged for packaging, below DESTDIR.
if(INSTALL_PREFIX)
  set(stage ${WORK_DIR}/stage)
  install_build(${CMAKE_COMMAND} -E env DESTDIR=${stage} ${CMAKE_COMMAND} --install ${BUILD_DIR})
  check_tree(${stage}${INSTALL_PREFIX})
endif()

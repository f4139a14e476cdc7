# The commit a source tree is built from, for --version.
#
# tender_git_commit(<source dir> <variable>) sets <variable> to the short hash
# of HEAD when <source dir> is the top of a git checkout, and to "" when it is
# not: no git installed, a tree unpacked from a tarball, or a tree unpacked
# somewhere inside another repository, whose commit says nothing about it.
#
# tender_git_head_files(<source dir> <variable>) sets <variable> to the files
# git rewrites when a new commit is made or checked out (HEAD, its reflog, the
# branch's ref, packed-refs), so that the build can re-run CMake and never
# report a stale commit. Empty outside a git checkout.
# Both work in script mode (cmake -P) too.

function(tender_git_commit source_dir variable)
  set(commit "")
  find_program(TENDER_GIT git)
  if(TENDER_GIT)
    execute_process(COMMAND ${TENDER_GIT} -C ${source_dir} rev-parse --show-toplevel --short HEAD
                    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_QUIET
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(status EQUAL 0 AND out MATCHES "^([^\n]+)\n([0-9a-f]+)$")
      set(hash ${CMAKE_MATCH_2})
      file(REAL_PATH "${CMAKE_MATCH_1}" top)
      file(REAL_PATH "${source_dir}" source)
      if(top STREQUAL source)
        set(commit ${hash})
      endif()
    endif()
  endif()
  set(${variable} "${commit}" PARENT_SCOPE)
endfunction()

function(tender_git_head_files source_dir variable)
  set(files "")
  tender_git_commit(${source_dir} commit)
  if(commit)
    execute_process(COMMAND ${TENDER_GIT} -C ${source_dir} rev-parse --symbolic-full-name HEAD
                    OUTPUT_VARIABLE branch ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(names HEAD logs/HEAD packed-refs)
    if(branch MATCHES "^refs/")
      list(APPEND names ${branch})
    endif()
    foreach(name IN LISTS names)
      execute_process(COMMAND ${TENDER_GIT} -C ${source_dir} rev-parse --path-format=absolute --git-path ${name}
                      OUTPUT_VARIABLE path ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(path AND EXISTS "${path}")
        list(APPEND files "${path}")
      endif()
    endforeach()
  endif()
  set(${variable} "${files}" PARENT_SCOPE)
endfunction()

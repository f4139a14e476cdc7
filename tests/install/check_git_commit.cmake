# Checks which commit a build reports for its sources: the commit of a git
# checkout, and none for a tree without git or one unpacked inside another
# repository (a tarball unpacked in someone's own project, say).
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -P check_git_commit.cmake
cmake_minimum_required(VERSION 3.25)
include(${SOURCE_DIR}/cmake/git_commit.cmake)

find_program(GIT git)
if(NOT GIT)
  message(FATAL_ERROR "git is not installed")
endif()

function(git directory)
  execute_process(COMMAND ${GIT} -C ${directory} -c user.name=Test -c user.email=test@example.org ${ARGN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "git ${ARGN} failed: ${err}")
  endif()
  set(git_output "${out}" PARENT_SCOPE)
endfunction()

function(expect_commit directory expected what)
  tender_git_commit(${directory} commit)
  if(NOT commit STREQUAL expected)
    message(FATAL_ERROR "${what}: commit '${commit}', expected '${expected}'")
  endif()
  tender_git_head_files(${directory} files)
  if(expected STREQUAL "" AND files)
    message(FATAL_ERROR "${what}: watches git files ${files} that are not its own")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(repo ${WORK_DIR}/repo)
file(MAKE_DIRECTORY ${repo}/unpacked ${WORK_DIR}/plain)
# Git must not find the project's own checkout above the scratch folder.
set(ENV{GIT_CEILING_DIRECTORIES} ${WORK_DIR})

expect_commit(${WORK_DIR}/plain "" "a folder outside any checkout")

git(${repo} init --quiet)
file(WRITE ${repo}/file "one\n")
git(${repo} add file)
git(${repo} commit --quiet -m one)
git(${repo} rev-parse HEAD)
set(first ${git_output})
tender_git_commit(${repo} commit)
string(LENGTH "${commit}" length)
string(FIND "${first}" "${commit}" at)
if(length LESS 7 OR NOT at EQUAL 0)
  message(FATAL_ERROR "the checkout's commit is '${commit}', not a short form of ${first}")
endif()
expect_commit(${repo}/unpacked "" "a folder inside another checkout")

# A new commit changes the commit reported and one of the files watched for it.
tender_git_head_files(${repo} watched)
if(NOT watched)
  message(FATAL_ERROR "no git file is watched for new commits")
endif()
foreach(file IN LISTS watched)
  file(SHA256 ${file} hash)
  list(APPEND before "${hash}")
endforeach()
file(WRITE ${repo}/file "two\n")
git(${repo} commit --quiet -am two)
tender_git_commit(${repo} second)
if(second STREQUAL commit)
  message(FATAL_ERROR "the commit stayed ${commit} after a new commit")
endif()
foreach(file IN LISTS watched)
  file(SHA256 ${file} hash)
  list(APPEND after "${hash}")
endforeach()
if(before STREQUAL after)
  message(FATAL_ERROR "none of ${watched} changed with a new commit")
endif()

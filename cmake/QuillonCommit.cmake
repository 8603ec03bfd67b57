# quillon_find_commit(OUT DIR): the commit DIR is checked out at (12 hex digits), or "unknown"
# when DIR is not the top of a git checkout (an unpacked source archive) or git is missing. A
# checkout that merely encloses DIR does not count. Usable in script mode (cmake -P) too.
function(quillon_find_commit out dir)
  set(commit "unknown")
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(
      COMMAND ${GIT_EXECUTABLE} -C ${dir} rev-parse --short=12 HEAD
      OUTPUT_VARIABLE hash RESULT_VARIABLE failed ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    execute_process(
      COMMAND ${GIT_EXECUTABLE} -C ${dir} rev-parse --show-toplevel
      OUTPUT_VARIABLE top RESULT_VARIABLE failedTop ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT failed AND NOT failedTop AND hash)
      file(REAL_PATH "${top}" top)
      file(REAL_PATH "${dir}" here)
      if(top STREQUAL here)
        set(commit "${hash}")
      endif()
    endif()
  endif()
  set(${out} "${commit}" PARENT_SCOPE)
endfunction()

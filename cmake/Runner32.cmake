# Finds out how the tests run 32-bit x86 executables on this machine, and sets
# KORVANE32_RUNNER_COMMAND: empty where the kernel runs them itself, otherwise
# the emulator's command line (a list) to put before the executable.
#
# A kernel without 32-bit support refuses i386 executables; qemu-i386 (Debian
# package qemu-user) then runs them in user mode. -DKORVANE32_RUNNER=qemu-i386
# forces the emulator, so that a machine with 32-bit support tests that path
# too. Where neither works, configuring stops with a message that says what to
# do, rather than letting every 32-bit test fail later.

set(KORVANE32_RUNNER "" CACHE STRING
  "Command that runs the 32-bit executables in the tests (e.g. qemu-i386); empty: directly where the kernel can, else through qemu-i386")

set(_check_dir "${CMAKE_BINARY_DIR}/CMakeFiles/korvane-i386-check")
set(_check_exe "${_check_dir}/i386-check")
try_compile(_built "${_check_dir}/build" "${CMAKE_CURRENT_LIST_DIR}/i386-check.cpp"
  COMPILE_DEFINITIONS -m32
  LINK_OPTIONS -m32
  OUTPUT_VARIABLE _build_log
  COPY_FILE "${_check_exe}")
if(NOT _built)
  message(FATAL_ERROR "Korvane: the compiler cannot build 32-bit x86 executables (g++ -m32). "
    "Install g++-multilib (scripts/setup.sh does this), or configure with -DKORVANE_BUILD32=OFF "
    "to build and test the 64-bit executable alone.")
endif()

# Whether the command (a list, possibly empty) runs the check executable.
function(korvane_runs_i386 RESULT)
  execute_process(COMMAND ${ARGN} "${_check_exe}"
    RESULT_VARIABLE _status OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
  if(_status STREQUAL "0")
    set(${RESULT} TRUE PARENT_SCOPE)
  else()
    set(${RESULT} FALSE PARENT_SCOPE)
  endif()
endfunction()

set(KORVANE32_REMEDIES "Install the emulator (apt-get install qemu-user; scripts/setup.sh does this where it is needed), \
or configure with -DKORVANE_BUILD32=OFF to build and test the 64-bit executable alone.")

if(NOT KORVANE32_RUNNER STREQUAL "")
  # The end-to-end tests start the emulator with execv, which searches no
  # PATH, from a folder of their own: the command's first word becomes an
  # absolute path here. A bare name is looked up on PATH; a relative path is
  # taken from the folder CMake runs in, as the shell that started it would.
  separate_arguments(_runner UNIX_COMMAND "${KORVANE32_RUNNER}")
  list(POP_FRONT _runner _emulator)
  if(_emulator MATCHES "/")
    if(NOT IS_ABSOLUTE "${_emulator}")
      execute_process(COMMAND pwd OUTPUT_VARIABLE _cwd OUTPUT_STRIP_TRAILING_WHITESPACE)
      set(_emulator "${_cwd}/${_emulator}")
    endif()
    if(NOT EXISTS "${_emulator}" OR IS_DIRECTORY "${_emulator}")
      set(_emulator "")
    endif()
  else()
    # find_program keeps its result in the cache; it is dropped before and
    # after, so that a later KORVANE32_RUNNER is looked up afresh.
    unset(KORVANE32_RUNNER_FOUND CACHE)
    find_program(KORVANE32_RUNNER_FOUND "${_emulator}")
    set(_emulator "${KORVANE32_RUNNER_FOUND}")
    unset(KORVANE32_RUNNER_FOUND CACHE)
    if(_emulator MATCHES "-NOTFOUND$")
      set(_emulator "")
    endif()
  endif()
  if(_emulator STREQUAL "")
    message(FATAL_ERROR "Korvane: the 32-bit tests cannot run: the emulator given by "
      "KORVANE32_RUNNER (\"${KORVANE32_RUNNER}\") is not found (a bare name is looked up on PATH). ${KORVANE32_REMEDIES}")
  endif()
  list(PREPEND _runner "${_emulator}")
  korvane_runs_i386(_runs ${_runner})
  if(NOT _runs)
    message(FATAL_ERROR "Korvane: the 32-bit tests cannot run: the emulator given by "
      "KORVANE32_RUNNER (\"${KORVANE32_RUNNER}\") does not run 32-bit x86 executables here. ${KORVANE32_REMEDIES}")
  endif()
  set(KORVANE32_RUNNER_COMMAND ${_runner})
  message(STATUS "Korvane: the tests run the 32-bit executables through ${_emulator}")
else()
  korvane_runs_i386(_native)
  if(_native)
    set(KORVANE32_RUNNER_COMMAND "")
  else()
    find_program(KORVANE_QEMU_I386 qemu-i386)
    set(_runs FALSE)
    if(KORVANE_QEMU_I386)
      korvane_runs_i386(_runs "${KORVANE_QEMU_I386}" -L /)
    endif()
    if(NOT _runs)
      message(FATAL_ERROR "Korvane: the 32-bit tests cannot run: this kernel does not run 32-bit x86 "
        "executables, and no emulator (qemu-i386) that runs them was found. ${KORVANE32_REMEDIES}")
    endif()
    set(KORVANE32_RUNNER_COMMAND "${KORVANE_QEMU_I386}" -L /)
    message(STATUS "Korvane: this kernel does not run 32-bit x86 executables; the tests run them through ${KORVANE_QEMU_I386}")
  endif()
endif()

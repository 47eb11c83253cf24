# SPDX-License-Identifier: MIT
# 32-bit x86 Linux code from this machine's compilers (Debian's g++-multilib). Its tests run
# natively where the kernel runs i386 code, and under user-mode emulation (Debian's
# qemu-user) only where it does not: there, limits and injected system calls would fall on
# the emulator, so the tests that need them skip.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)

# Asked once per build folder: build a tiny 32-bit program and start it.
if(NOT DEFINED WORDHASH_I386_RUNS_NATIVELY)
  set(probe ${CMAKE_BINARY_DIR}/i386-probe)
  execute_process(COMMAND sh -c [[echo 'int main(void) { return 0; }' |
                                  gcc -m32 -x c - -o "$0" && "$0"]] ${probe}
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  string(COMPARE EQUAL "${status}" 0 runs)
  set(WORDHASH_I386_RUNS_NATIVELY ${runs} CACHE BOOL "This machine's kernel runs i386 code")
  message(STATUS "i386 code runs natively here: ${runs}")
endif()
if(NOT WORDHASH_I386_RUNS_NATIVELY)
  find_program(QEMU_I386 qemu-i386 REQUIRED)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_I386})
endif()

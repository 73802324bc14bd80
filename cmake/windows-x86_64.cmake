# Cross-building for 64-bit Windows with Debian's mingw-w64 (the -posix thread model, whose
# std::thread and std::mutex the game needs). The libraries come from the prefix that
# scripts/windows-libraries.sh makes and prints:
#
#   cmake -S . -B build-windows --toolchain cmake/windows-x86_64.cmake \
#         -DTOLVAR_WINDOWS_PREFIX="$(scripts/windows-libraries.sh)"
#
# Programs built here run through Wine (CTest, gtest_discover_tests); they find the libraries'
# DLLs in "${TOLVAR_WINDOWS_PREFIX}/bin" and the compiler's three runtime DLLs in
# TOLVAR_WINDOWS_RUNTIME_DLLS (their folders must be on WINEPATH).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOLVAR_WINDOWS_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOLVAR_WINDOWS_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLVAR_WINDOWS_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLVAR_WINDOWS_HOST}-windres)

set(TOLVAR_WINDOWS_PREFIX "" CACHE PATH "The cross-built libraries (scripts/windows-libraries.sh prints it)")
# try_compile projects read this file again: hand them the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TOLVAR_WINDOWS_PREFIX)
if(NOT TOLVAR_WINDOWS_PREFIX OR NOT IS_DIRECTORY "${TOLVAR_WINDOWS_PREFIX}")
  message(FATAL_ERROR "TOLVAR_WINDOWS_PREFIX='${TOLVAR_WINDOWS_PREFIX}' is not a folder: "
                      "pass -DTOLVAR_WINDOWS_PREFIX=\"$(scripts/windows-libraries.sh)\"")
endif()

# Headers, libraries and CMake packages only from the prefix and mingw's own sysroot, never
# from the build machine; programs (the compilers, pkg-config, wine) from the build machine.
set(CMAKE_FIND_ROOT_PATH "${TOLVAR_WINDOWS_PREFIX}" /usr/${TOLVAR_WINDOWS_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config reads the prefix's .pc files alone (they name their folders relative to themselves).
set(ENV{PKG_CONFIG_LIBDIR} "${TOLVAR_WINDOWS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# The folder of libstdc++-6.dll, libgcc_s_seh-1.dll and libwinpthread-1.dll, which are shipped
# beside the game's exe (it is not linked statically against them).
set(tolvar_runtime_dlls "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(
    COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE dll_path
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(dll_path "${dll_path}" REALPATH)
  list(APPEND tolvar_runtime_dlls "${dll_path}")
endforeach()
set(TOLVAR_WINDOWS_RUNTIME_DLLS "${tolvar_runtime_dlls}" CACHE INTERNAL "The mingw runtime DLLs to ship beside the exe")

find_program(TOLVAR_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${TOLVAR_WINE}")

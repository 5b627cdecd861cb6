# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads).
# Qt, OpenSSL and pugixml for the target come from the prefix named by
# MIRANDEL_WINDOWS_PREFIX (cache variable or environment; tools/windows/prefix
# prints it). Qt's host tools (moc, rcc) are the Linux ones of the same version.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT MIRANDEL_WINDOWS_PREFIX)
  set(MIRANDEL_WINDOWS_PREFIX "$ENV{MIRANDEL_WINDOWS_PREFIX}")
endif()
if(NOT MIRANDEL_WINDOWS_PREFIX OR NOT EXISTS "${MIRANDEL_WINDOWS_PREFIX}/lib/cmake/Qt6")
  message(FATAL_ERROR "MIRANDEL_WINDOWS_PREFIX must name the Windows prefix with Qt 6 "
                      "(see tools/windows/prefix); got '${MIRANDEL_WINDOWS_PREFIX}'")
endif()
# try_compile projects see the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MIRANDEL_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${MIRANDEL_WINDOWS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
set(OPENSSL_ROOT_DIR "${MIRANDEL_WINDOWS_PREFIX}")

# Tests and other target programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/windows/wine-run")

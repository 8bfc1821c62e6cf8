# Cross-building for Windows x86-64 on a Debian amd64 machine (make
# test-windows, make package-windows): Debian's MinGW-w64 GCC with the posix
# thread model (std::thread and Qt need it), Qt built for MinGW from Debian's
# own qtbase source (HCALC_QT_MINGW_PREFIX, made by the Makefile), and Qt's
# host tools (moc, rcc) from Debian's amd64 packages, the same Qt version.
# The test programs run under wine64 (CMakeLists.txt sets that up).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT HCALC_QT_MINGW_PREFIX)
    set(HCALC_QT_MINGW_PREFIX /var/cache/hcalc/qt6-mingw)
endif()
set(HCALC_QT_MINGW_PREFIX ${HCALC_QT_MINGW_PREFIX} CACHE PATH "Qt for Windows (MinGW-w64), built from Debian's qtbase")

# Headers, libraries and packages of the target only; programs of the host.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${HCALC_QT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's build tools are host programs: Qt looks for them under this prefix.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

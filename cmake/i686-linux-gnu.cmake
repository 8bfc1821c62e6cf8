# Cross-building for 32-bit x86 on a Debian amd64 machine (make test-i386):
# GCC from crossbuild-essential-i386 and the i386 libraries from the :i386
# packages (dpkg multiarch), Qt's host tools (moc, rcc) from the amd64
# packages. The programs run on the amd64 machine itself. long double is the
# x87 format there, but the compiler has no unsigned __int128, so the portable
# arithmetic computes.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# Headers and libraries of the target only; programs of the host.
set(CMAKE_FIND_ROOT_PATH /usr/lib/i386-linux-gnu /usr/include/i386-linux-gnu /usr)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Qt's build tools are host programs: Qt looks for them under this prefix.
set(QT_HOST_PATH /usr)

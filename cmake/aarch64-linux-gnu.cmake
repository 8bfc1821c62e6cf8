# Cross-building for arm64 on a Debian amd64 machine (make test-arm64): GCC
# from crossbuild-essential-arm64, the arm64 libraries from the :arm64 packages
# (dpkg multiarch), Qt's host tools (moc, rcc) from the amd64 packages, and the
# test programs run under qemu-user.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# Headers and libraries of the target only; programs of the host.
set(CMAKE_FIND_ROOT_PATH /usr/lib/aarch64-linux-gnu /usr/include/aarch64-linux-gnu /usr)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Qt's build tools are host programs: Qt looks for them under this prefix.
set(QT_HOST_PATH /usr)

# "-L /": qemu finds the arm64 dynamic loader and libraries where multiarch put them.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)

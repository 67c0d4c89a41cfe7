# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for arm64 on an x86-64 Debian 12 machine, with Debian's own
# multiarch packages: crossbuild-essential-arm64 for the compilers, the :arm64
# development packages of Qt 6 and CUPS for the libraries, and qemu-user to run
# what was built. tools/bootstrap test --arch arm64 installs all of it.
#
# Debian's Qt 6 is not configured as a cross-built Qt, so it needs no
# QT_HOST_PATH: the :arm64 CMake packages name moc and rcc at /usr/lib/qt6/libexec,
# where the amd64 qt6-base-dev-tools (Multi-Arch: foreign) has put the host's own.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# The target's libraries live beside the host's, under /usr/lib/aarch64-linux-gnu and
# /usr/include/aarch64-linux-gnu, which the cross compiler searches by itself; the
# root stays /. Programs (moc, rcc, scdoc, gzip) are the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)

# ctest runs each test program under the emulator, and the tests start the program
# and the snapshot tool under it as well (see tests/CMakeLists.txt). Without it the
# build still makes the program and the package, but ctest cannot run.
find_program(PELZORA_QEMU qemu-aarch64)
if(PELZORA_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PELZORA_QEMU})
endif()

# The package's architecture: CPack would otherwise ask dpkg for the host's.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)

# SPDX-License-Identifier: GPL-3.0-or-later
# A cross build's tests run under the emulator the toolchain file names, through
# without-pidfd (see tools/without-pidfd.cpp for why). That one runs on the build
# machine, so the host's own compiler builds it.
find_program(PELZORA_HOST_CXX NAMES c++ g++ REQUIRED)
set(PELZORA_WITHOUT_PIDFD ${PROJECT_BINARY_DIR}/without-pidfd)
add_custom_command(OUTPUT ${PELZORA_WITHOUT_PIDFD}
  COMMAND ${PELZORA_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -o ${PELZORA_WITHOUT_PIDFD}
          ${PROJECT_SOURCE_DIR}/tools/without-pidfd.cpp
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/without-pidfd.cpp
  VERBATIM)
add_custom_target(without_pidfd ALL DEPENDS ${PELZORA_WITHOUT_PIDFD})
list(PREPEND CMAKE_CROSSCOMPILING_EMULATOR ${PELZORA_WITHOUT_PIDFD})

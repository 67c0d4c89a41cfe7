# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening Debian builds its packages with (dpkg-buildflags, hardening=+all),
# on every optimised build. _FORTIFY_SOURCE needs the optimiser, so Debug builds go
# without it; the sanitizer and fuzz builds bring checks of their own.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

if(NOT PELZORA_SANITIZE AND NOT PELZORA_FUZZ)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat -Werror=format-security)
  check_cxx_compiler_flag(-fcf-protection pelzora_has_cf_protection)
  if(pelzora_has_cf_protection)
    add_compile_options(-fcf-protection)
  endif()
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
endif()

# SPDX-License-Identifier: GPL-3.0-or-later
# The example mod and the QuakeC of the examples help page must compile
# with a real compiler.
# The compiler is part of the test set-up (scripts/install-deps installs it):
# without it the tests would silently shrink, so configuring fails instead.
find_program(TALMO_FTEQCC fteqcc)
if(NOT TALMO_FTEQCC)
  message(FATAL_ERROR "fteqcc not found: install it (scripts/install-deps) to build the tests")
endif()
add_test(NAME examples_mod_compiles_with_fteqcc
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/examples_compile.sh
    mod ${CMAKE_SOURCE_DIR}/examples/mod)
add_test(NAME examples_help_page_code_compiles_with_fteqcc
  COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/examples_compile.sh
    help ${CMAKE_SOURCE_DIR}/examples/mod ${CMAKE_SOURCE_DIR}/help/texts/examples.txt)
set_tests_properties(examples_mod_compiles_with_fteqcc
  examples_help_page_code_compiles_with_fteqcc PROPERTIES TIMEOUT 120)

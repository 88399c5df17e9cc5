# SPDX-License-Identifier: MIT
# Not warnings: correctness. The sample arithmetic, and the tests' and the fuzz
# target's reference arithmetic, rely on every operation being rounded on its own,
# so no fused multiply-add (the default of clang, and of g++ in GNU mode, on targets
# that have one) and no value-changing optimisations. Project-wide, so that no target
# that compiles the arithmetic can miss them.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-ffp-contract=off -fno-fast-math)
endif()

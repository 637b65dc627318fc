# Tests of the real-level tools that need no download, included from
# tools/walk/CMakeLists.txt:
#  - zepwalk walks a small crowd through the yard of examples/level.obj and
#    prints its table with no crossing and no library error or warning;
#  - a short churn run stays within its memory bound;
#  - the level converter turns a tiny level written by the test into Y-up
#    OBJ files with the right fronts, the sky apart and water left out.
set(walk_yard ${PROJECT_SOURCE_DIR}/examples/level.obj=0.4x0.9x0.4)
set(walk_clean "library errors 0, warnings 0")
# A pass expression overrules the exit code, so a sanitizer report (a leak
# is reported at exit, after the table) must fail the test by its text.
set(walk_sanitizer_report "ERROR: (AddressSanitizer|LeakSanitizer)|runtime error")
add_test(NAME walk.yard COMMAND zepwalk --open --seeds 2 --frames 300 --walkers 16 ${walk_yard})
set_tests_properties(walk.yard PROPERTIES
  FAIL_REGULAR_EXPRESSION "${walk_sanitizer_report}"
  PASS_REGULAR_EXPRESSION "\\| level \\| 32 \\| [0-9]+ \\| 0 \\(0 crossed\\) \\| 0 \\(0 walkers\\) \\|.*${walk_clean}")
add_test(NAME walk.churn COMMAND zepwalk --churn --open --walkers 8 --pieces 3 --passes 6000 ${walk_yard})
# Under `make sanitize`, ASan's quarantine of freed memory (256 MB by
# default) would read as growth; it is kept small for this test only.
set_tests_properties(walk.churn PROPERTIES
  FAIL_REGULAR_EXPRESSION "${walk_sanitizer_report}"
  PASS_REGULAR_EXPRESSION "\\(bound \\+16 MB\\): flat.*${walk_clean}"
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:quarantine_size_mb=4")

find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_test(NAME walk.bsp2obj
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/walk/bsp2obj_check.py
            ${PROJECT_SOURCE_DIR}/tools/levels/bsp2obj.py ${CMAKE_CURRENT_BINARY_DIR}/bsp2obj_check)
  set_tests_properties(walk.bsp2obj PROPERTIES PASS_REGULAR_EXPRESSION "bsp2obj check: ok")
else()
  message(WARNING "no Python 3: the level converter's test is left out")
endif()

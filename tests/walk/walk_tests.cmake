# Tests of the real-level tools that need no download, included from
# tools/walk/CMakeLists.txt:
#  - zepwalk walks a small crowd through the yard of examples/level.obj and
#    prints its table with no crossing and no library error or warning;
#  - a short churn run stays within its memory bound;
#  - the level converter turns a tiny level written by the test into Y-up
#    OBJ files with the right fronts, the sky apart and water left out.
set(walk_yard ${PROJECT_SOURCE_DIR}/examples/level.obj=0.4x0.9x0.4)
set(walk_clean "library errors 0, warnings 0")
add_test(NAME walk.yard COMMAND zepwalk --open --seeds 2 --frames 300 --walkers 16 ${walk_yard})
set_tests_properties(walk.yard PROPERTIES
  PASS_REGULAR_EXPRESSION "\\| level \\| 32 \\| [0-9]+ \\| 0 \\(0 crossed\\) \\| 0 \\(0 walkers\\) \\|.*${walk_clean}")
add_test(NAME walk.churn COMMAND zepwalk --churn --open --walkers 8 --pieces 3 --passes 6000 ${walk_yard})
set_tests_properties(walk.churn PROPERTIES PASS_REGULAR_EXPRESSION "\\(bound \\+16 MB\\): flat.*${walk_clean}")

find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_test(NAME walk.bsp2obj
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/walk/bsp2obj_check.py
            ${PROJECT_SOURCE_DIR}/tools/levels/bsp2obj.py ${CMAKE_CURRENT_BINARY_DIR}/bsp2obj_check)
  set_tests_properties(walk.bsp2obj PROPERTIES PASS_REGULAR_EXPRESSION "bsp2obj check: ok")
else()
  message(WARNING "no Python 3: the level converter's test is left out")
endif()

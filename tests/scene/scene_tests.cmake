# Scene-runner tests, included from tools/zepscene/CMakeLists.txt:
#  - good/NAME.zep must run and print exactly good/NAME.out;
#  - errors/NAME.zep must stop with exit code 1 and print exactly errors/NAME.err;
#  - every example must run and draw a picture.
set(scene_tests ${PROJECT_SOURCE_DIR}/tests/scene)
set(scene_runner -DZEPSCENE=$<TARGET_FILE:zepscene> -P ${scene_tests}/run_scene.cmake)

file(GLOB good_scripts CONFIGURE_DEPENDS ${scene_tests}/good/*.zep)
foreach(script ${good_scripts})
  get_filename_component(name ${script} NAME_WE)
  set(options "")
  if(name MATCHES "^debug_option")
    set(options --debug)
  endif()
  add_test(NAME scene.good.${name} COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests}/good -DSCRIPT=${name}.zep
    -DOPTIONS=${options} -DEXPECT_RC=0 -DEXPECT_STDOUT=${scene_tests}/good/${name}.out -DEXPECT_STDERR=/dev/null
    ${scene_runner})
endforeach()

file(GLOB error_scripts CONFIGURE_DEPENDS ${scene_tests}/errors/*.zep)
foreach(script ${error_scripts})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME scene.error.${name} COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests}/errors -DSCRIPT=${name}.zep
    -DEXPECT_RC=1 -DEXPECT_STDERR=${scene_tests}/errors/${name}.err ${scene_runner})
endforeach()

add_test(NAME scene.usage COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests} -DSCRIPT=--nonsense
  -DEXPECT_RC=2 -DEXPECT_STDERR=${scene_tests}/usage.err ${scene_runner})

file(GLOB example_scripts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.zep)
foreach(script ${example_scripts})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME scene.example.${name} COMMAND ${CMAKE_COMMAND} -DDIR=${PROJECT_SOURCE_DIR}/examples
    -DSCRIPT=${name}.zep -DSVG=${CMAKE_CURRENT_BINARY_DIR}/example_${name}.svg -DEXPECT_RC=0 ${scene_runner})
endforeach()

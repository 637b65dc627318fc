# Scene-runner tests, included from tools/zepscene/CMakeLists.txt:
#  - good/NAME.zep must run and print exactly good/NAME.out, and on standard
#    error good/NAME.err (its warnings) or nothing;
#  - errors/NAME.zep must stop with exit code 1 and print exactly errors/NAME.err;
#  - every example must run, hold its expect lines, warn of nothing and draw
#    a picture;
#  - the command line: --help, a folder or a missing file as the script, a
#    picture that cannot be written.
set(scene_tests ${PROJECT_SOURCE_DIR}/tests/scene)
set(scene_runner -DZEPSCENE=$<TARGET_FILE:zepscene> -P ${scene_tests}/run_scene.cmake)

file(GLOB good_scripts CONFIGURE_DEPENDS ${scene_tests}/good/*.zep)
foreach(script ${good_scripts})
  get_filename_component(name ${script} NAME_WE)
  set(options "")
  if(name MATCHES "^debug_option")
    set(options --debug)
  endif()
  set(expected_err /dev/null)
  if(EXISTS ${scene_tests}/good/${name}.err)
    set(expected_err ${scene_tests}/good/${name}.err)
  endif()
  add_test(NAME scene.good.${name} COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests}/good -DSCRIPT=${name}.zep
    -DOPTIONS=${options} -DEXPECT_RC=0 -DEXPECT_STDOUT=${scene_tests}/good/${name}.out
    -DEXPECT_STDERR=${expected_err} ${scene_runner})
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
    -DSCRIPT=${name}.zep -DSVG=${CMAKE_CURRENT_BINARY_DIR}/example_${name}.svg -DEXPECT_RC=0
    -DEXPECT_STDERR=/dev/null ${scene_runner})
endforeach()

add_test(NAME scene.help COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests} -DSCRIPT=--help
  -DEXPECT_RC=0 -DEXPECT_STDOUT=${scene_tests}/usage.err -DEXPECT_STDERR=/dev/null ${scene_runner})
add_test(NAME scene.folder_as_script COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests} -DSCRIPT=good
  -DEXPECT_RC=1 -DEXPECT_STDERR=${scene_tests}/folder.err ${scene_runner})
add_test(NAME scene.missing_script COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests} -DSCRIPT=no-such.zep
  -DEXPECT_RC=1 -DEXPECT_STDERR=${scene_tests}/missing.err ${scene_runner})
add_test(NAME scene.unwritable_svg COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests}/good -DSCRIPT=results.zep
  -DOPTIONS=--svg\ /nonexistent-folder/x.svg -DEXPECT_RC=1 -DEXPECT_STDOUT=/dev/null
  -DEXPECT_STDERR=${scene_tests}/unwritable.err ${scene_runner})

# The examples' pages (--html) in headless Chromium, driven from node over the
# DevTools protocol (tests/browser/page_test.mjs); the pages and a screenshot
# of each stay in browser-pages/ of the build folder. Skipped, with a line
# that says why, under ZEP_BROWSER=0 or when the browser cannot start.
find_program(ZEP_NODE NAMES node nodejs)
find_program(ZEP_CHROMIUM NAMES chromium chromium-browser)
set(browser_pages ${PROJECT_BINARY_DIR}/browser-pages)
if(ZEP_NODE)
  set(chromium chromium)
  if(ZEP_CHROMIUM)
    set(chromium ${ZEP_CHROMIUM})
  endif()
  add_test(NAME scene.browser COMMAND ${ZEP_NODE} ${PROJECT_SOURCE_DIR}/tests/browser/page_test.mjs
    $<TARGET_FILE:zepscene> ${PROJECT_SOURCE_DIR}/examples ${browser_pages} ${chromium})
else()
  add_test(NAME scene.browser COMMAND sh -c "echo 'SKIPPED: browser tests: node is not installed'; exit 77")
endif()
set_tests_properties(scene.browser PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
add_test(NAME scene.unwritable_html COMMAND ${CMAKE_COMMAND} -DDIR=${scene_tests}/good -DSCRIPT=results.zep
  -DOPTIONS=--html\ /nonexistent-folder/x.html -DEXPECT_RC=1 -DEXPECT_STDOUT=/dev/null
  -DEXPECT_STDERR=${scene_tests}/unwritable_html.err ${scene_runner})

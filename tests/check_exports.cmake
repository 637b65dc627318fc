# Checks that the shared library exports exactly the commands, the message hook,
# the warning hook and the contact-centre query.
execute_process(COMMAND nm -D --defined-only ${LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
set(expected
  StartCollisionZEP StartCollisionDebugZEP StopCollisionZEP SetCollisionZEP NewCollObjZEP
  CheckShapeZEP AddObjShapeZEP ActivateObjZEP DeActivateObjZEP SetObjRadiusZEP AddMeshTri
  AddMeshZEP UpdateObjZEP ResetCollisionStackZEP PeekCollisionStackZEP RunCollisionZEP
  PeekObjXZEP PeekObjYZEP PeekObjZZEP FreeObjZEP CountCollisionsZEP CollisionHit
  CollisionHitNorm CollisionObjHit CollisionPolyHit CollisionTriCorner zepSetMessageHandler
  zepSetWarningHandler zepCollisionCenter SetCharacterZEP CharacterGroundZEP CharacterGroundNormZEP
  CharacterGroundObjZEP CharacterFlagsZEP SetCollisionThreadsZEP)
string(REGEX MATCHALL "[ \t][TW] [A-Za-z_][A-Za-z0-9_]*" found "${symbols}")
set(names "")
foreach(entry ${found})
  string(REGEX REPLACE "^[ \t][TW] " "" name "${entry}")
  list(APPEND names ${name})
endforeach()
list(SORT names)
set(sorted_expected ${expected})
list(SORT sorted_expected)
if(NOT names STREQUAL sorted_expected)
  message(FATAL_ERROR "exported functions differ.\n expected: ${sorted_expected}\n found: ${names}")
endif()
message(STATUS "exports ok: ${names}")

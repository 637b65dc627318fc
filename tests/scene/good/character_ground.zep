# A character's ground in the pass table: it drops onto a floor (in the air,
# then on walkable ground) and walks into a slope too steep (still walkable
# ground below it, the slope at its side).
StartCollisionZEP
SetCollisionZEP 1 2
NewCollObjZEP 2 2
AddObjShapeZEP 2 2
AddMeshTri 2  -10 0 -10   -10 0 10   10 0 10
AddMeshTri 2  -10 0 -10   10 0 10   10 0 -10
AddMeshTri 2  2 0 -10   2 0 10   4 4 10
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2
NewCollObjZEP 1 1
AddObjShapeZEP 1 1
UpdateObjZEP 1 0 1.5 0
UpdateObjZEP 1 0 1.5 0
ActivateObjZEP 1
SetCharacterZEP 1 45 0.3 0.3
frames 2 0 -0.4 0 1
frames 2 0.8 -0.1 0 1
CharacterFlagsZEP 1
CharacterGroundObjZEP 1

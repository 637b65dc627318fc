# Every kind of result: ints, floats as exact decimals, the stack walk, and
# the zero a failed query returns. Ignored words may be given or left out.
StartCollisionZEP
SetCollisionZEP 1 2 7 8 9          # the three ignored words given
NewCollObjZEP 0 2                  # object 0 is a real object ...
AddObjShapeZEP 0 2
AddMeshTri 0 -30 0 -30 -30 0 90 90 0 -30
UpdateObjZEP 0 0 0 0 1 2 3
ActivateObjZEP 0
NewCollObjZEP 1 1
AddObjShapeZEP 1 1
SetObjRadiusZEP 1 1 2 1
UpdateObjZEP 1 -1 10 -1
ActivateObjZEP 1
UpdateObjZEP 1 -1 -10 -1
CheckShapeZEP 1 1
CheckShapeZEP 1 2
ResetCollisionStackZEP
PeekCollisionStackZEP              # ... but reads as 0, like the end of the walk
PeekCollisionStackZEP
PeekCollisionStackZEP
RunCollisionZEP
PeekObjYZEP 1
CollisionObjHit 1 1
CollisionTriCorner 1 1 3 1
CollisionHit 1 2 1                 # no second contact: 0
CountCollisionsZEP 7               # no object 7: 0
FreeObjZEP 1
PeekObjXZEP 1

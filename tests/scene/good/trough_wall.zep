# The trough with a wall: floor, then ramp (corrected along the crease), then
# the wall, a third face contact, which wedges the sphere where it touches.
StartCollisionZEP
SetCollisionZEP 1 2
NewCollObjZEP 2 2
AddObjShapeZEP 2 2
AddMeshTri 2 -30 0 -30 -30 0 90 90 0 -30
AddMeshTri 2 -14 -12 -30 -14 -12 90 50 36 -30
AddMeshTri 2 -30 -30 3.5 -30 90 3.5 90 -30 3.5
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2
NewCollObjZEP 1 1
AddObjShapeZEP 1 1
UpdateObjZEP 1 0 1.5 0
ActivateObjZEP 1
UpdateObjZEP 1 3 -2 3
RunCollisionZEP
CountCollisionsZEP 1
CollisionPolyHit 1 3
CollisionHitNorm 1 3 3

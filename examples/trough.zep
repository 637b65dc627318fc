# The trough: a floor and a ramp that meet in a crease along z.
# A sphere moving down and across hits the floor, then the ramp, and slides
# along the crease instead of climbing the ramp.
StartCollisionZEP
SetCollisionZEP 1 2            # type-1 ellipsoids slide on type-2 meshes

NewCollObjZEP 2 2              # object 2: the level
AddObjShapeZEP 2 2
AddMeshTri 2  -30 0 -30   -30 0 90   90 0 -30      # triangle 1: floor, faces +y
AddMeshTri 2  -14 -12 -30  -14 -12 90  50 36 -30   # triangle 2: ramp, faces (-0.6, 0.8, 0)
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2

NewCollObjZEP 1 1              # object 1: a unit sphere
AddObjShapeZEP 1 1
UpdateObjZEP 1 0 1.5 0         # where it was ...
ActivateObjZEP 1
UpdateObjZEP 1 3 -2 3          # ... and where it wants to be
RunCollisionZEP

CountCollisionsZEP 1
CollisionPolyHit 1 2
CollisionHitNorm 1 2 1
CollisionHitNorm 1 2 2

# Keep pushing into the ramp: the sphere follows the crease.
frames 6 0.5 -0.5 0.5 1

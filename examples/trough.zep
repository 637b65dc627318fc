# The trough: a floor and a ramp that meet in a crease along z.
# A sphere moving down and across hits the floor, then the ramp, and stops
# in the crease. Pushed on along the crease and into the ramp, with each step
# falling twice as far as it goes into the ramp, it slides along the crease
# instead of climbing the ramp: it stays touching both, at height 1.
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
expect CountCollisionsZEP 1 2                  # the floor, then the ramp
expect CollisionPolyHit 1 1 1
expect CollisionPolyHit 1 2 2
expect CollisionHitNorm 1 2 1 -0.6 0.001       # the ramp's slope: (-0.6, 0.8, 0)
expect CollisionHitNorm 1 2 2 0.8 0.001
# Resting in the crease: 1 above the floor and 1 from the ramp (x = 5/3).
expect PeekObjYZEP 1 1 0.001
expect PeekObjXZEP 1 1.6667 0.001

# Keep pushing along the crease and into the ramp: the sphere follows the crease.
frames 8 0.3 -0.6 0.5 1
expect PeekObjYZEP 1 1 0.001                   # still on the floor: it did not climb
expect PeekObjXZEP 1 1.6667 0.001              # and against the ramp
expect PeekObjZZEP 1 7 0.001                   # 8 steps of 0.5 along the crease
expect CountCollisionsZEP 1 2                  # touching the floor and the ramp

# A room: a 20 x 20 floor, four walls 3 high facing inwards, and a ramp in
# the north-east corner. A character (an ellipsoid 0.5 wide, 1 high) walks
# into a wall, slides along it, gets stuck in a corner, walks out and climbs
# the ramp. Every frame also pulls it down by 0.3 (gravity), so it keeps
# touching the floor.
#
# Run it: zepscene --svg room.svg examples/room.zep   (or: make demo)
StartCollisionZEP
SetCollisionZEP 1 2                  # type-1 ellipsoids slide on type-2 meshes

NewCollObjZEP 2 2                    # object 2: the room, one mesh
AddObjShapeZEP 2 2
# floor
AddMeshTri 2  -10 0 -10   -10 0 10   10 0 10
AddMeshTri 2  -10 0 -10   10 0 10   10 0 -10
# walls, facing into the room
AddMeshTri 2  -10 0 -10   10 0 -10   10 3 -10
AddMeshTri 2  -10 0 -10   10 3 -10   -10 3 -10
AddMeshTri 2  -10 3 10   10 3 10   10 0 10
AddMeshTri 2  -10 3 10   10 0 10   -10 0 10
AddMeshTri 2  -10 3 -10   -10 3 10   -10 0 10
AddMeshTri 2  -10 3 -10   -10 0 10   -10 0 -10
AddMeshTri 2  10 0 -10   10 0 10   10 3 10
AddMeshTri 2  10 0 -10   10 3 10   10 3 -10
# ramp in the north-east corner, rising towards the east wall
AddMeshTri 2  2 0 -10   2 0 -4   10 2.5 -4
AddMeshTri 2  2 0 -10   10 2.5 -4   10 2.5 -10
AddMeshTri 2  2 0 -4   10 0 -4   10 2.5 -4      # the ramp's side, facing south
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2

NewCollObjZEP 1 1                    # object 1: the character
AddObjShapeZEP 1 1
SetObjRadiusZEP 1 0.5 1 0.5
UpdateObjZEP 1 -6 1 2                # standing on the floor
UpdateObjZEP 1 -6 1 2                # (no movement yet: previous = current)
ActivateObjZEP 1
RunCollisionZEP

frames 10 0.5 -0.3 0.9 1             # south-east, into the south wall: slides east along it
frames 12 0.9 -0.3 0 1               # east into the corner, where it stays
frames 6 -0.6 -0.3 -1.2 1            # out of the corner, north-west
frames 10 -0.8 -0.3 -0.95 1          # on to the foot of the ramp
frames 17 0.8 -0.3 0 1               # east, up the ramp to the east wall

CountCollisionsZEP 1
PeekObjYZEP 1                        # height on the ramp

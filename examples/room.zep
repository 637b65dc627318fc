# A room: a 20 x 20 floor, four walls 5 high facing inwards, and a ramp in
# the north-east corner that rises to 2.5 at the east wall. A character (an
# ellipsoid 0.5 wide, 1 high, so 2 tall) walks into a wall, slides along it,
# gets stuck in a corner, walks out and climbs the ramp until the east wall
# stops it. On the floor every frame also pulls it down by 0.3 (gravity), so
# it keeps touching the floor. Up the ramp it walks without pulling down: a
# step that also pulls down meets the floor first, and the slide along the
# crease where floor and ramp meet then holds it at the ramp's foot (a host
# that wants movers to climb slopes moves them across and down in separate
# passes). The walls are higher than the character standing on the ramp's
# top: a wall lower than its middle would be met by its top edge, and the
# character would slide up over that edge.
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
AddMeshTri 2  -10 0 -10   10 0 -10   10 5 -10
AddMeshTri 2  -10 0 -10   10 5 -10   -10 5 -10
AddMeshTri 2  -10 5 10   10 5 10   10 0 10
AddMeshTri 2  -10 5 10   10 0 10   -10 0 10
AddMeshTri 2  -10 5 -10   -10 5 10   -10 0 10
AddMeshTri 2  -10 5 -10   -10 0 10   -10 0 -10
AddMeshTri 2  10 0 -10   10 0 10   10 5 10
AddMeshTri 2  10 0 -10   10 5 10   10 5 -10
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
expect PeekObjZZEP 1 9.5 0.01        # against the south wall (z = 10, less the radius)
expect PeekObjXZEP 1 -1 0.01         # moved east all the way: 10 steps of 0.5 from x = -6
expect PeekObjYZEP 1 1 0.01          # on the floor
frames 12 0.9 -0.3 0 1               # east into the corner, where it stays
expect PeekObjXZEP 1 9.5 0.01        # in the south-east corner
expect PeekObjZZEP 1 9.5 0.01
expect PeekObjYZEP 1 1 0.01
frames 6 -0.6 -0.3 -1.2 1            # out of the corner, north-west
expect PeekObjZZEP 1 2.3 0.01        # free of the walls: every step taken in full
expect PeekObjYZEP 1 1 0.01
frames 10 -0.8 -0.3 -0.95 1          # west of the foot of the ramp
expect PeekObjXZEP 1 < 2             # west of where the ramp starts (x = 2)
expect PeekObjZZEP 1 > -10           # and beside it (z from -10 to -4)
expect PeekObjZZEP 1 < -4
expect PeekObjYZEP 1 1 0.01
frames 17 0.8 0 0 1                  # east, up the ramp to the east wall, not pulled down

CountCollisionsZEP 1
PeekObjYZEP 1                        # height on the ramp
expect PeekObjXZEP 1 9.5 0.01        # stopped by the east wall (x = 10, less the radius)
expect PeekObjYZEP 1 > 3             # up on the ramp (2.5 high at the wall) ...
expect PeekObjYZEP 1 < 3.6           # ... standing on it, not on top of the 5-high wall
expect CountCollisionsZEP 1 1        # touching the wall (not pulled down, it meets no ramp)

# A character walking around a small level loaded from a Wavefront OBJ file:
# a walled yard with a pillar in the middle (examples/level.obj). The mesh
# goes in through AddMeshZEP as a host mesh block with 32-byte vertices.
StartCollisionZEP
SetCollisionZEP 1 2

NewCollObjZEP 2 2                  # object 2: the level
AddObjShapeZEP 2 2
mesh 2 level.obj
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2

NewCollObjZEP 1 1                  # object 1: the character
AddObjShapeZEP 1 1
SetObjRadiusZEP 1 0.5 1 0.5
UpdateObjZEP 1 -5 1 5
ActivateObjZEP 1

frames 10 1 -0.2 -0.2 1            # east across the yard, south of the pillar
expect PeekObjXZEP 1 5 0.01         # every step taken in full
expect PeekObjYZEP 1 1 0.01         # on the floor
frames 6 0.2 -0.2 -1 1             # north, east of the pillar
expect PeekObjZZEP 1 -3 0.01
frames 12 -1 -0.2 -0.5 1           # north-west into the north wall: slides west along it
expect PeekObjZZEP 1 -7.5 0.01      # against the north wall (z = -8, less the radius)
expect PeekObjXZEP 1 < -5           # and well on to the west along it
frames 8 0 -0.2 1.2 1              # south, down the west side of the yard
expect PeekObjZZEP 1 2.1 0.01
expect PeekObjYZEP 1 1 0.01

# A floor of four tile objects, each an 8 x 8 square of two triangles placed
# by its own position, and a crate (a mesh object of five faces) standing on
# them. A character walks across the tile seams and into the crate, then
# slides along its side. Contacts name the tile or crate that was hit.
StartCollisionZEP
SetCollisionZEP 1 2                # characters meet tiles and crates

NewCollObjZEP 10 2
AddObjShapeZEP 10 2
AddMeshTri 10  -4 0 -4   -4 0 4   4 0 4
AddMeshTri 10  -4 0 -4   4 0 4   4 0 -4
UpdateObjZEP 10 0 0 0
ActivateObjZEP 10

NewCollObjZEP 11 2
AddObjShapeZEP 11 2
AddMeshTri 11  -4 0 -4   -4 0 4   4 0 4
AddMeshTri 11  -4 0 -4   4 0 4   4 0 -4
UpdateObjZEP 11 8 0 0
ActivateObjZEP 11

NewCollObjZEP 12 2
AddObjShapeZEP 12 2
AddMeshTri 12  -4 0 -4   -4 0 4   4 0 4
AddMeshTri 12  -4 0 -4   4 0 4   4 0 -4
UpdateObjZEP 12 0 0 8
ActivateObjZEP 12

NewCollObjZEP 13 2
AddObjShapeZEP 13 2
AddMeshTri 13  -4 0 -4   -4 0 4   4 0 4
AddMeshTri 13  -4 0 -4   4 0 4   4 0 -4
UpdateObjZEP 13 8 0 8
ActivateObjZEP 13

NewCollObjZEP 20 2                 # object 20: the crate, 2 x 1.5 x 2
AddObjShapeZEP 20 2
AddMeshTri 20  -1 0 -1   -1 0 1   -1 1.5 1
AddMeshTri 20  -1 0 -1   -1 1.5 1   -1 1.5 -1
AddMeshTri 20  1 1.5 -1   1 1.5 1   1 0 1
AddMeshTri 20  1 1.5 -1   1 0 1   1 0 -1
AddMeshTri 20  -1 1.5 -1   1 1.5 -1   1 0 -1
AddMeshTri 20  -1 1.5 -1   1 0 -1   -1 0 -1
AddMeshTri 20  -1 0 1   1 0 1   1 1.5 1
AddMeshTri 20  -1 0 1   1 1.5 1   -1 1.5 1
AddMeshTri 20  -1 1.5 -1   -1 1.5 1   1 1.5 1
AddMeshTri 20  -1 1.5 -1   1 1.5 1   1 1.5 -1
UpdateObjZEP 20 5 0 3.6            # placed across the seams
ActivateObjZEP 20

NewCollObjZEP 1 1                  # object 1: the character
AddObjShapeZEP 1 1
SetObjRadiusZEP 1 0.5 1 0.5
UpdateObjZEP 1 -2 1 -1
ActivateObjZEP 1

frames 8 0.6 -0.2 0.5 1            # across the tiles towards the crate
frames 7 0.7 -0.2 0.25 1           # into the crate's west side: slides along it
expect PeekObjXZEP 1 3.5 0.01       # against the west side (x = 4, less the radius)
expect PeekObjZZEP 1 4.75 0.01      # still sliding south along it: every step's z taken
expect CountCollisionsZEP 1 2       # the crate beside, a tile below
expect CollisionObjHit 1 1 20       # both touched at the start: at equal distance the later object wins
frames 3 0.7 -0.2 0.25 1            # round its south-west corner and on, clear of it
expect PeekObjZZEP 1 > 5.1          # south of the crate (z up to 4.6, plus the radius)
expect PeekObjXZEP 1 > 4            # and east of its west side
expect PeekObjYZEP 1 1 0.01         # on the tiles all along
CountCollisionsZEP 1
CollisionObjHit 1 1
PeekObjZZEP 1

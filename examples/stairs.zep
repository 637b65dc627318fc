# A staircase of four steps, 0.4 high and 1 deep, rising towards +x, with a
# landing on top. A character (0.5 wide, 1 high) walks east: its rounded
# bottom meets the edge on top of each riser and is pushed up, so it climbs
# without any step logic of its own. It walks without pulling down: a step
# that also pulls down meets the tread first, and the slide along the crease
# where tread and riser meet would hold it at the riser. On the landing,
# gravity brings it to stand.
StartCollisionZEP
SetCollisionZEP 1 2

NewCollObjZEP 2 2                  # object 2: floor, steps and landing
AddObjShapeZEP 2 2
AddMeshTri 2  -6 0 -3   -6 0 3   2 0 3
AddMeshTri 2  -6 0 -3   2 0 3   2 0 -3
# step 1: riser facing west, tread facing up
AddMeshTri 2  2 0 3   2 0.4 3   2 0.4 -3
AddMeshTri 2  2 0 3   2 0.4 -3   2 0 -3
AddMeshTri 2  2 0.4 -3   2 0.4 3   3 0.4 3
AddMeshTri 2  2 0.4 -3   3 0.4 3   3 0.4 -3
# step 2: riser facing west, tread facing up
AddMeshTri 2  3 0.4 3   3 0.8 3   3 0.8 -3
AddMeshTri 2  3 0.4 3   3 0.8 -3   3 0.4 -3
AddMeshTri 2  3 0.8 -3   3 0.8 3   4 0.8 3
AddMeshTri 2  3 0.8 -3   4 0.8 3   4 0.8 -3
# step 3: riser facing west, tread facing up
AddMeshTri 2  4 0.8 3   4 1.2 3   4 1.2 -3
AddMeshTri 2  4 0.8 3   4 1.2 -3   4 0.8 -3
AddMeshTri 2  4 1.2 -3   4 1.2 3   5 1.2 3
AddMeshTri 2  4 1.2 -3   5 1.2 3   5 1.2 -3
# step 4: riser facing west, tread facing up
AddMeshTri 2  5 1.2 3   5 1.6 3   5 1.6 -3
AddMeshTri 2  5 1.2 3   5 1.6 -3   5 1.2 -3
AddMeshTri 2  5 1.6 -3   5 1.6 3   9 1.6 3
AddMeshTri 2  5 1.6 -3   9 1.6 3   9 1.6 -3
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2

NewCollObjZEP 1 1                  # object 1: the character
AddObjShapeZEP 1 1
SetObjRadiusZEP 1 0.5 1 0.5
UpdateObjZEP 1 -3 1 0
ActivateObjZEP 1

frames 28 0.4 0 0 1                # walk east, up the stairs
frames 3 0 -0.2 0 1                # and let it stand
expect PeekObjXZEP 1 > 5            # on the landing (from x = 5) ...
expect PeekObjYZEP 1 2.6 0.01       # ... standing on it: 1.6 high, plus the radius
expect PeekObjZZEP 1 0 0.01         # straight east all the way
PeekObjXZEP 1
PeekObjYZEP 1

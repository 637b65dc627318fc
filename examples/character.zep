# Characters: SetCharacterZEP makes a mover walk, fall, climb steps and
# stand on floors and platforms by the character rules (docs/character.md).
# Each `frames N dx dy dz OBJECT` line is N frames of a game: the character
# moved by its walk plus its own vertical speed (gravity, a jump), then
# RunCollisionZEP. All characters are 0.4 x 0.9 x 0.4 with a slope limit of
# 45 degrees, a step offset of 0.5 and a snap distance of 0.5.
StartCollisionZEP
SetCollisionZEP 1 2

NewCollObjZEP 2 2                  # object 2: the course, lanes along x
AddObjShapeZEP 2 2
# a floor under every lane
AddMeshTri 2  -10 0 -4   -10 0 30   20 0 30
AddMeshTri 2  -10 0 -4   20 0 30   20 0 -4
# lane z = 0: a step 0.45 high at x = 2, its top 3 long, then one 0.55 higher at x = 5
AddMeshTri 2  2 0 -1   2 0.45 -1   2 0.45 1
AddMeshTri 2  2 0 -1   2 0.45 1   2 0 1
AddMeshTri 2  2 0.45 -1   2 0.45 1   5 0.45 1
AddMeshTri 2  2 0.45 -1   5 0.45 1   5 0.45 -1
AddMeshTri 2  5 0.45 -1   5 1 -1   5 1 1
AddMeshTri 2  5 0.45 -1   5 1 1   5 0.45 1
AddMeshTri 2  5 1 -1   5 1 1   8 1 1
AddMeshTri 2  5 1 -1   8 1 1   8 1 -1
# lane z = 6: a 30 degree ramp from x = 2 up to x = 6 (2.3094 high), and a
# 60 degree slope beside it from x = -2 down to x = -4 (3.4641 high at -4)
AddMeshTri 2  2 0 5   6 2.3094 7   6 2.3094 5
AddMeshTri 2  2 0 5   2 0 7   6 2.3094 7
AddMeshTri 2  -2 0 5   -4 3.4641 5   -4 3.4641 7
AddMeshTri 2  -2 0 5   -4 3.4641 7   -2 0 7
# lane z = 18: stairs of 0.3 down toward -x, treads 0.6 long, from 1.2 high at x > 2.4
AddMeshTri 2  0.0 0.3 17   0.0 0.3 19   6 0.3 19
AddMeshTri 2  0.0 0.3 17   6 0.3 19   6 0.3 17
AddMeshTri 2  0.0 0 17   0.0 0.3 17   0.0 0.3 19
AddMeshTri 2  0.0 0 17   0.0 0.3 19   0.0 0 19
AddMeshTri 2  0.6 0.6 17   0.6 0.6 19   6 0.6 19
AddMeshTri 2  0.6 0.6 17   6 0.6 19   6 0.6 17
AddMeshTri 2  0.6 0 17   0.6 0.6 17   0.6 0.6 19
AddMeshTri 2  0.6 0 17   0.6 0.6 19   0.6 0 19
AddMeshTri 2  1.2 0.9 17   1.2 0.9 19   6 0.9 19
AddMeshTri 2  1.2 0.9 17   6 0.9 19   6 0.9 17
AddMeshTri 2  1.2 0 17   1.2 0.9 17   1.2 0.9 19
AddMeshTri 2  1.2 0 17   1.2 0.9 19   1.2 0 19
AddMeshTri 2  1.8 1.2 17   1.8 1.2 19   6 1.2 19
AddMeshTri 2  1.8 1.2 17   6 1.2 19   6 1.2 17
AddMeshTri 2  1.8 0 17   1.8 1.2 17   1.8 1.2 19
AddMeshTri 2  1.8 0 17   1.8 1.2 19   1.8 0 19
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2

NewCollObjZEP 5 2                  # object 5: a platform in lane z = 12, 1 high
AddObjShapeZEP 5 2
AddMeshTri 5  -2 0 -2   -2 0 2   2 0 2
AddMeshTri 5  -2 0 -2   2 0 2   2 0 -2
UpdateObjZEP 5 0 1 12
ActivateObjZEP 5

NewCollObjZEP 1 1                  # character 1 in lane z = 0
AddObjShapeZEP 1 1
SetObjRadiusZEP 1 0.4 0.9 0.4
UpdateObjZEP 1 0 0.9 0
UpdateObjZEP 1 0 0.9 0
ActivateObjZEP 1
SetCharacterZEP 1 45 0.5 0.5

NewCollObjZEP 3 1                  # character 3 in lane z = 6
AddObjShapeZEP 3 1
SetObjRadiusZEP 3 0.4 0.9 0.4
UpdateObjZEP 3 0 0.9 6
UpdateObjZEP 3 0 0.9 6
ActivateObjZEP 3
SetCharacterZEP 3 45 0.5 0.5

NewCollObjZEP 6 1                  # character 6 on the stairs' top
AddObjShapeZEP 6 1
SetObjRadiusZEP 6 0.4 0.9 0.4
UpdateObjZEP 6 4 2.1 18
UpdateObjZEP 6 4 2.1 18
ActivateObjZEP 6
SetCharacterZEP 6 45 0.5 0.5

NewCollObjZEP 4 1                  # character 4 on the platform
AddObjShapeZEP 4 1
SetObjRadiusZEP 4 0.4 0.9 0.4
UpdateObjZEP 4 0 1.9 12
UpdateObjZEP 4 0 1.9 12
ActivateObjZEP 4
SetCharacterZEP 4 45 0.5 0.5

# Standing: on the floor, grounded, touching below only.
frames 5 0 -0.05 0 1
expect CharacterGroundZEP 1 1
expect CharacterGroundObjZEP 1 2
expect CharacterGroundNormZEP 1 2 1
expect CharacterFlagsZEP 1 1
expect PeekObjYZEP 1 0.9 0.001

# Walking east: the 0.45 step is climbed, the 0.55 one blocks.
frames 60 0.1 -0.05 0 1
expect PeekObjYZEP 1 1.35 0.001
expect PeekObjXZEP 1 4.6315 0.001   # its side against the 0.55 edge
expect CharacterGroundZEP 1 1
expect CharacterFlagsZEP 1 3

# A jump: up, then gravity brings it back onto the step.
frames 1 0 0.3 0 1
expect CharacterGroundZEP 1 0
frames 1 0 0.25 0 1
frames 1 0 0.2 0 1
frames 20 0 -0.1 0 1
expect CharacterGroundZEP 1 1
expect PeekObjYZEP 1 1.35 0.001

# Lane z = 6: up the 30 degree ramp, which is walkable, and standing on it.
frames 40 0.1 -0.05 0 3
expect PeekObjXZEP 3 4 0.001
expect CharacterGroundZEP 3 1
expect CharacterGroundNormZEP 3 2 0.8660254 0.0001
frames 100 0 -0.05 0 3
expect PeekObjXZEP 3 4 0.001
# Back down it, grounded at the end.
frames 60 -0.1 -0.02 0 3
expect CharacterGroundZEP 3 1
expect PeekObjXZEP 3 -1.9 0.2
# Put above the 60 degree slope (two updates with no pass between place it),
# it lands on it and slides down, on steep ground.
UpdateObjZEP 3 -3.2 3.3 6
UpdateObjZEP 3 -3.2 3.3 6
frames 3 0 -0.1 0 3
expect CharacterGroundZEP 3 2
expect CharacterGroundNormZEP 3 2 0.5 0.0001
frames 100 0 -0.1 0 3
expect CharacterGroundZEP 3 1
expect PeekObjYZEP 3 0.9 0.001

# The platform rises, sinks and slides; character 4 rides it.
frames 5 0 -0.05 0 4
expect CharacterGroundObjZEP 4 5
UpdateObjZEP 5 0 1.2 12
frames 1 0 -0.05 0 4
UpdateObjZEP 5 0 1.4 12
frames 1 0 -0.05 0 4
expect PeekObjYZEP 4 2.3 0.001
UpdateObjZEP 5 0 1.25 12
frames 1 0 -0.05 0 4
expect PeekObjYZEP 4 2.15 0.001
UpdateObjZEP 5 0.3 1.25 12.2
frames 1 0 -0.05 0 4
expect PeekObjXZEP 4 0.3 0.001
expect PeekObjZZEP 4 12.2 0.001
expect CharacterGroundObjZEP 4 5

# Lane z = 18: down the stairs with a gravity far short of each step's drop;
# the snap keeps it on each tread, and it ends on the floor.
frames 5 0 -0.02 0 6
expect CharacterGroundZEP 6 1
frames 30 -0.1 -0.02 0 6
expect CharacterGroundZEP 6 1
expect PeekObjXZEP 6 1 0.25                # sliding off each nose adds a little
expect PeekObjYZEP 6 1.5 0.001             # on the tread 0.6 high
frames 20 -0.1 -0.02 0 6
expect CharacterGroundZEP 6 1
expect PeekObjYZEP 6 0.9 0.001

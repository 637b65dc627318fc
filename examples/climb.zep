# A character that climbs: the frame of two passes from the README's frame
# loop. A 0.4 x 0.9 x 0.4 mover walks 0.2 east a frame over a 3 degree ramp,
# a 17 degree ramp and four steps 0.2 high, then stands on a 30 degree slope.
#
# Each frame of a `walk` line is a walk pass (the step alone, level) and a
# fall pass (0.02 down). When the fall pass meets a floor (a contact normal
# within about 45 degrees of up) the mover is put back where the walk pass
# left it, so it never slides down the slope it stands on; it may stand up
# to one fall step above the floor. With one pass a frame (walk and fall in
# the same move) the crease at the foot of a ramp or a riser takes the whole
# slide, and the mover stops there: `frames 95 0.2 -0.02 0 1` in place of
# the walk line below stops it at the foot of the 3 degree ramp (x = 0).
StartCollisionZEP
SetCollisionZEP 1 2

NewCollObjZEP 2 2                  # object 2: the whole course
AddObjShapeZEP 2 2
# a floor, then a 3 degree ramp up to a plateau (0.2096 high)
AddMeshTri 2  -4 0 -2   -4 0 2   0 0 2
AddMeshTri 2  -4 0 -2   0 0 2   0 0 -2
AddMeshTri 2  0 0 -2   0 0 2   4 0.2096 2
AddMeshTri 2  0 0 -2   4 0.2096 2   4 0.2096 -2
AddMeshTri 2  4 0.2096 -2   4 0.2096 2   6 0.2096 2
AddMeshTri 2  4 0.2096 -2   6 0.2096 2   6 0.2096 -2
# a 17 degree ramp up to a second plateau (1.1268 high)
AddMeshTri 2  6 0.2096 -2   6 0.2096 2   9 1.1268 2
AddMeshTri 2  6 0.2096 -2   9 1.1268 2   9 1.1268 -2
AddMeshTri 2  9 1.1268 -2   9 1.1268 2   11 1.1268 2
AddMeshTri 2  9 1.1268 -2   11 1.1268 2   11 1.1268 -2
# four steps, each a riser facing west and a tread, and a landing (1.9268 high)
AddMeshTri 2  11 1.1268 2   11 1.3268 2   11 1.3268 -2
AddMeshTri 2  11 1.1268 2   11 1.3268 -2   11 1.1268 -2
AddMeshTri 2  11 1.3268 -2   11 1.3268 2   11.6 1.3268 2
AddMeshTri 2  11 1.3268 -2   11.6 1.3268 2   11.6 1.3268 -2
AddMeshTri 2  11.6 1.3268 2   11.6 1.5268 2   11.6 1.5268 -2
AddMeshTri 2  11.6 1.3268 2   11.6 1.5268 -2   11.6 1.3268 -2
AddMeshTri 2  11.6 1.5268 -2   11.6 1.5268 2   12.2 1.5268 2
AddMeshTri 2  11.6 1.5268 -2   12.2 1.5268 2   12.2 1.5268 -2
AddMeshTri 2  12.2 1.5268 2   12.2 1.7268 2   12.2 1.7268 -2
AddMeshTri 2  12.2 1.5268 2   12.2 1.7268 -2   12.2 1.5268 -2
AddMeshTri 2  12.2 1.7268 -2   12.2 1.7268 2   12.8 1.7268 2
AddMeshTri 2  12.2 1.7268 -2   12.8 1.7268 2   12.8 1.7268 -2
AddMeshTri 2  12.8 1.7268 2   12.8 1.9268 2   12.8 1.9268 -2
AddMeshTri 2  12.8 1.7268 2   12.8 1.9268 -2   12.8 1.7268 -2
AddMeshTri 2  12.8 1.9268 -2   12.8 1.9268 2   18 1.9268 2
AddMeshTri 2  12.8 1.9268 -2   18 1.9268 2   18 1.9268 -2
# apart from the rest (z 4 to 8): a 30 degree slope rising east
AddMeshTri 2  0 0 4   0 0 8   4 2.3094 8
AddMeshTri 2  0 0 4   4 2.3094 8   4 2.3094 4
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2

NewCollObjZEP 1 1                  # object 1: the character
AddObjShapeZEP 1 1
SetObjRadiusZEP 1 0.4 0.9 0.4
UpdateObjZEP 1 -3 0.91 0           # where it is ...
ActivateObjZEP 1
UpdateObjZEP 1 -3 0.91 0           # ... and, before the first pass, where it starts from

walk 95 0.2 0 0 0.02 1             # walk east: both ramps and the steps
expect PeekObjXZEP 1 > 15          # on the landing (from x = 12.8) ...
expect PeekObjYZEP 1 2.8268 0.025  # ... standing on it: 1.9268 high plus 0.9
expect PeekObjZZEP 1 0 0.001       # straight east all the way

UpdateObjZEP 1 2 2.1 6             # placed on the slope: two updates with no
UpdateObjZEP 1 2 2.1 6             # pass between them move it without a sweep
walk 40 0 0 0 0.02 1               # standing still for 40 frames
expect PeekObjXZEP 1 2 0.001       # not a bit down the slope
expect PeekObjYZEP 1 2.0839 0.025  # resting on it: 2 tan 30 plus 0.9292

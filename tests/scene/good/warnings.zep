# Mistakes the library ignores without an error box, each shown as a warning
# on standard error; what the host reads back is unchanged.
StartCollisionZEP
SetCollisionZEP 1 2
SetCollisionZEP 1 301              # a type outside 0 to 300
NewCollObjZEP 2 2
AddMeshTri 2 -30 0 -30 -30 0 90 90 0 -30   # before the mesh shape: dropped
AddObjShapeZEP 2 3                 # no such shape kind
AddObjShapeZEP 2 2
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2
NewCollObjZEP 1 1
AddObjShapeZEP 1 1
SetObjRadiusZEP 1 1 inf 1          # an infinite radius
UpdateObjZEP 1 nan 0 0             # a position that is not a number
CheckShapeZEP 1 0

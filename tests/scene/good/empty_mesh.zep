# A mesh file without faces: the mover meets nothing, and falls.
StartCollisionZEP
SetCollisionZEP 1 2
NewCollObjZEP 2 2
AddObjShapeZEP 2 2
mesh 2 nothing.obj
ActivateObjZEP 2
NewCollObjZEP 1 1
AddObjShapeZEP 1 1
ActivateObjZEP 1
UpdateObjZEP 1 0 -1 0
RunCollisionZEP

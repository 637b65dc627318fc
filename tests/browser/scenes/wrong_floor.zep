# A floor wound the wrong way: its front faces down, so the mover dropped on
# it goes through from behind without a contact. The page must hatch it (and
# the library warns of it).
StartCollisionZEP
SetCollisionZEP 1 2
NewCollObjZEP 2 2
AddObjShapeZEP 2 2
AddMeshTri 2 -5 0 -5 5 0 -5 -5 0 5
AddMeshTri 2 5 0 -5 5 0 5 -5 0 5
UpdateObjZEP 2 0 0 0
ActivateObjZEP 2
NewCollObjZEP 1 1
AddObjShapeZEP 1 1
UpdateObjZEP 1 0 3 0
ActivateObjZEP 1
frames 6 0 -1 0 1

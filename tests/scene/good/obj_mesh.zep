# An OBJ file through AddMeshZEP onto a raised mesh object: 2 + 3 + 1
# triangles, fans keep the winding, and the drop lands on the raised floor.
StartCollisionZEP
SetCollisionZEP 1 2
NewCollObjZEP 2 2
AddObjShapeZEP 2 2
mesh 2 faces.obj
UpdateObjZEP 2 0 2 0
ActivateObjZEP 2
NewCollObjZEP 1 1
AddObjShapeZEP 1 1
UpdateObjZEP 1 5 7 -5
ActivateObjZEP 1
UpdateObjZEP 1 5 -3 -5
RunCollisionZEP
CollisionTriCorner 1 1 2 2         # world corners: the object's position is added
CollisionTriCorner 1 1 3 1
# Drop onto the pentagon's third fan triangle (corners 1, 4, 5).
UpdateObjZEP 1 109 10 3
UpdateObjZEP 1 109 0 3
RunCollisionZEP

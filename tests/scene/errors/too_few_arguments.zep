StartCollisionZEP
AddMeshTri 2 0 0 0 1 1 1

StartCollisionZEP
NewCollObjZEP 1 1
frames 2 1 0 0 1
frames 2 1 0 0 7

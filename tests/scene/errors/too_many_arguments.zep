StartCollisionZEP
NewCollObjZEP 1 1 1

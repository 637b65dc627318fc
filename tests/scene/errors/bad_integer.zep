StartCollisionZEP
NewCollObjZEP 1.5 1

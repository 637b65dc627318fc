StartCollisionZEP
NewCollObjZEP 1 1

UpdateObjZEP 1 0 1 0 0 0

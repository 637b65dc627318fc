StartCollisionZEP
NewCollObjZEP 1 1
UpdateObjZEP 1 0 1,5 0

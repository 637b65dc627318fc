# With --debug every failure shows its box, from the first line on.
SetCollisionZEP 1 2
StartCollisionZEP
NewCollObjZEP 5001 1
FreeObjZEP 4

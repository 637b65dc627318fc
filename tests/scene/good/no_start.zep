# A script that never starts the system: every command does nothing.
NewCollObjZEP 1 1
RunCollisionZEP

# An expect line that does not hold stops nothing but fails the run.
StartCollisionZEP
NewCollObjZEP 1 1
UpdateObjZEP 1 0 2 0
expect PeekObjYZEP 1 1 0.001
expect PeekObjYZEP 1 < 1
expect PeekObjYZEP 1 2

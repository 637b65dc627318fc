StartCollisionZEP
mesh 2 no_such_level.obj

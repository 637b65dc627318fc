mesh 2 bad_corner.obj

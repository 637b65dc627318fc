mesh 2 bad_vertex.obj

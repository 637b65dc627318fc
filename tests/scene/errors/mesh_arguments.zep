mesh 2

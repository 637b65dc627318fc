frames 3 1 0 0

StartCollisionZEP
# a typo on line 3
RunCollision

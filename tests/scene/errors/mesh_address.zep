StartCollisionZEP
AddMeshZEP 2 4096

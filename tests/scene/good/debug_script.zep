# Failures show no box until the script says 'debug' (only warnings on
# standard error); after that every failing command shows its error box
# text. StartCollisionDebugZEP on its own arms one box only.
PeekObjXZEP 3                      # not started: no box, 0
StartCollisionDebugZEP
NewCollObjZEP 5001 1               # the one armed box
NewCollObjZEP 5002 1               # no box again
StartCollisionZEP
debug
ActivateObjZEP 9
NewCollObjZEP 1 1
SetObjRadiusZEP 1 1 0 1
CollisionHit 1 1 1
CollisionTriCorner 1 1 4 1

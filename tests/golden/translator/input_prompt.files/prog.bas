input "N"; n$
input "A", a
input b; c$

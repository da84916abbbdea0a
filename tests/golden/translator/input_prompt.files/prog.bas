input "N"; n$
input "A", a
input b; c$
input ; d "then" e

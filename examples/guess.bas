' guess.bas: guess the number from 1 to 100
' the first value after a small seed is small: draw one and drop it
d = rnd(1)
secret = int(rnd(99)) + 1
tries = 0
print "I am thinking of a number from 1 to 100."
@ask
input "Your guess", g
tries = tries + 1
if g < secret then print "Higher!" : goto @ask
if g > secret then print "Lower!" : goto @ask
print "Right! You needed "; tries; " tries."

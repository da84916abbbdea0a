' hello.bas: the first program
print "Hello, world!"
print "‚±‚ñ‚É‚¿‚ÍA¢ŠEI"
print "¶À¶Å and Š¿š: "; len("Š¿š"); " bytes"

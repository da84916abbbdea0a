' the caret stays where it is when nothing is printed after a drawing in white
print "ab";
line (0,100)-(190,100),0
print "";

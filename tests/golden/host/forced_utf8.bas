print "“ú–{"
print "ok"

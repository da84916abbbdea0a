print "start"
goto 5

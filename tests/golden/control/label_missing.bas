print "start"
gosub @nowhere

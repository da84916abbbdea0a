print "ƒVƒtƒg"

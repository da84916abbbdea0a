print "ユニ"
